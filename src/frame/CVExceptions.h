// ECVException: the error a unit raises when the user should see its failure in the unit's own words,
// with a severity that decides whether the program runs on after the report.
#pragma once

#include "CVMessageKind.h"

#include <QString>

#include <stdexcept>

class ECVException : public std::runtime_error
{
public:
    // An Error ends the program after the report; a Warning or Information lets it run on; Silent is not
    // reported.
    ECVException(const QString &errorMessage, const QString &details, TCVMessageKind kind)
        : std::runtime_error(errorMessage.toStdString()), ErrorMessage(errorMessage), Details(details), Kind(kind)
    {
    }

    QString ErrorMessage;
    QString Details;
    TCVMessageKind Kind;
};
