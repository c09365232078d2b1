#include "data/clsEncrypt.h"

#include <array>

namespace {

constexpr int kLength = 14;

// Stored codes; each is shifted by the constant of its position before it becomes a character.
constexpr std::array<qint16, kLength> kCodes = {65, 116, 41, 37, 79, 131, 43, 68, 103, 83, 48, 48, 109, 83};

qint16 shiftOf(int position)
{
    switch (position) {
    case 1: return 7;
    case 2: return -3;
    case 3: return 11;
    case 4: return -2;
    case 5: return 5;
    case 6: return -9;
    case 7: return 13;
    case 8: return -4;
    case 9: return 6;
    case 10: return -8;
    case 11: return 2;
    case 12: return -12;
    case 13: return 9;
    default: return -1;
    }
}

} // namespace

QString clsEncrypt::GetDatabaseSecret() const
{
    QString secret;
    secret.reserve(kLength);
    for (int position = 1; position <= kLength; ++position) {
        const int code = kCodes[std::size_t(position - 1)] + shiftOf(position);
        secret += QChar::fromLatin1(char(code));
    }
    return secret;
}
