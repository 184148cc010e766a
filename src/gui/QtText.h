#pragma once

#include "common/Cp1252.h"

#include <QFile>
#include <QString>
#include <string>

namespace camini {

// The core's CP1252 texts as the widgets' QString, and back.
inline QString toQString(const Cp1252& cp1252) {
    return QString::fromStdString(toUtf8(cp1252));
}
inline Cp1252 toCp1252(const QString& text) {
    return fromUtf8(text.toStdString());
}

// The characters of a text that CP1252 cannot hold (and its files would
// write as '?'), named by their code points: "U+0141, U+017A"; empty when
// there are none.
inline Cp1252 charactersOutsideCp1252(const QString& text) {
    Cp1252 named;
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (c == U'?' || toCp1252(one) != "?")
            continue;
        if (!named.empty())
            named += ", ";
        named += "U+" + QString::number(static_cast<uint>(c), 16)
                            .toUpper()
                            .rightJustified(4, QLatin1Char('0'))
                            .toStdString();
    }
    return named;
}

// A path chosen in a dialog as the file system's bytes, and back.
inline PathBytes nativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
inline QString displayPath(const PathBytes& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace camini
