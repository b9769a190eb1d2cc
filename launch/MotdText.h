#pragma once

#include "settings/MotdText.h"

#include <QByteArrayView>
#include <QString>

// Preview text from file bytes, as MotdUtf8FromBytes reads them.
QString MotdTextFromBytes(QByteArrayView bytes, bool cut);
