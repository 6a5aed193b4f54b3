#include "ScreenService.h"

void ScreenService::deliver(QList<ScreenPicture> pictures)
{
    QRect all;
    for (const ScreenPicture &picture : std::as_const(pictures))
        all |= QRect(picture.origin, picture.image.size());
    for (ScreenPicture &picture : pictures)
        picture.origin -= all.topLeft();
    emit snapshotReady(pictures);
}
