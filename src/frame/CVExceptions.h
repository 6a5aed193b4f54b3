// ECVException: the error a unit raises when the user should see its failure in the unit's own words,
// with a severity that decides whether the program runs on after the report.
#pragma once

#include <QString>

#include <cstdint>
#include <stdexcept>

class ECVException : public std::runtime_error
{
public:
    // Kind: 0 critical (the program ends after the report), 1 warning, 2 information; any other value
    // makes the error silent.
    ECVException(const QString &errorMessage, const QString &details, std::uint8_t kind)
        : std::runtime_error(errorMessage.toStdString()), ErrorMessage(errorMessage), Details(details), Kind(kind)
    {
    }

    QString ErrorMessage;
    QString Details;
    std::uint8_t Kind;
};
