#include "gui/model/TextCodec.h"

#include "core/io/Files.h"
#include "core/text/Codepage.h"

#include <QFile>

namespace cw::gui {

QString decode(std::string_view bytes)
{
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar *out = text.data();
    for (char c : bytes)
        *out++ = QChar(cp1252::toUnicode(static_cast<unsigned char>(c)));
    return text;
}

std::optional<std::string> encode(const QString &text, qsizetype *firstBad)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto byte = cp1252::fromUnicode(text.at(i).unicode());
        if (!byte) {
            if (firstBad)
                *firstBad = i;
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(*byte));
    }
    return bytes;
}

QString displayName(const std::filesystem::path &path)
{
#ifdef _WIN32
    return QString::fromStdWString(path.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

QString displayName(std::string_view fileName)
{
    return displayName(pathFromName(fileName));
}

std::string fileNameFrom(const QString &text)
{
#ifdef _WIN32
    return nameOf(std::filesystem::path(text.toStdWString()));
#else
    return QFile::encodeName(text).toStdString();
#endif
}

} // namespace cw::gui
