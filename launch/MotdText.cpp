#include "launch/MotdText.h"

QString MotdTextFromBytes(QByteArrayView bytes, bool cut) {
    return QString::fromStdString(
        MotdUtf8FromBytes(std::string_view(bytes.data(), std::size_t(bytes.size())), cut));
}
