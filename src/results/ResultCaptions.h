#pragma once

#include <QString>

// The captions of the three result lists' frames, list 1 to 3.
inline QString ResultCaption(int list)
{
    switch (list) {
    case 1:
        return QStringLiteral("Lines In Both Text Files");
    case 2:
        return QStringLiteral("Lines In File 1 That Are Not In File 2");
    default:
        return QStringLiteral("Lines In File 2 That Are Not In File 1");
    }
}
