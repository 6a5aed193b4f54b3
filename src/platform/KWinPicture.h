// The picture KWin's screenshot service writes into a pipe, as its answer describes it.
#pragma once

#include <QImage>
#include <QVariantMap>

#include <optional>

// Reads the picture from the pipe: the answer's width, height, stride and format ("type" raw), each row up to
// a little padding past its pixels. Nothing when the answer describes no picture this could hold, or when the
// pipe ends early or stays silent for five seconds.
std::optional<QImage> ReadKWinPicture(int pipe, const QVariantMap &results);
