// The writer's own UTF-8 encoding against QString::toUtf8 and a plain line end replacement, on
// random pieces that cross the block size and split CR LF and surrogate pairs between pieces.
#include <gtest/gtest.h>

#include <QString>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "cli/terminal_host.h"

namespace daybridge::cli {
namespace {

std::string WrittenBy(const std::vector<QString>& pieces) {
    std::FILE* file = std::tmpfile();
    {
        LineEndWriter writer(file);
        for (const QString& piece : pieces) {
            writer.write(piece);
        }
    }
    std::rewind(file);
    std::string bytes;
    char block[4096];
    std::size_t n = 0;
    while ((n = std::fread(block, 1, sizeof block, file)) > 0) {
        bytes.append(block, n);
    }
    std::fclose(file);
    return bytes;
}

// Each piece encoded on its own; CR and LF are single bytes in UTF-8, so the line ends can be
// replaced in the joined bytes.
std::string Reference(const std::vector<QString>& pieces) {
    QByteArray joined;
    for (const QString& piece : pieces) {
        joined += piece.toUtf8();
    }
    joined.replace("\r\n", "\n");
    joined.replace('\r', '\n');
    return joined.toStdString();
}

TEST(LineEndWriter, EncodesAsToUtf8Does) {
    // The first three plain; units whose low byte is a CR or plain follow the others.
    const char16_t units[] = {u'a',   u'7',   u' ',   u'\r',  u'\n',  u'\r',
                              0xE4,   0x7FF,  0x800,  0x20AC, 0xFFFD, 0xD83D,
                              0xDE00, 0xDBFF, 0xDC00, 0x010D, 0xFF0D, 0x8041};
    std::mt19937 random(20261207);
    for (int round = 0; round < 80; ++round) {
        // Every other round mostly plain text in lines, ended by CR LF pairs mostly.
        const unsigned plainShare = round % 2 == 0 ? 0 : 92;
        const unsigned crLfShare = round % 2 == 0 ? 0 : 5;
        std::vector<QString> pieces;
        const int count = static_cast<int>(random() % 60) + 1;
        for (int i = 0; i < count; ++i) {
            // Mostly short pieces, now and then one longer than a block.
            const std::size_t length = random() % 8 == 0 ? random() % 70000 : random() % 40;
            QString piece;
            for (std::size_t k = 0; k < length; ++k) {
                const unsigned roll = random() % 100;
                if (roll < plainShare) {
                    piece += QChar(units[random() % 3]);
                } else if (roll < plainShare + crLfShare) {
                    piece += QStringLiteral("\r\n");
                } else {
                    piece += QChar(units[random() % std::size(units)]);
                }
            }
            pieces.push_back(piece);
        }
        ASSERT_EQ(WrittenBy(pieces), Reference(pieces)) << "round " << round;
    }
}

}  // namespace
}  // namespace daybridge::cli
