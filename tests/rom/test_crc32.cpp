// CRC-32 against published check values and a bit-at-a-time reference, whole
// and fed in pieces (the fast path folds four bytes at a time, so lengths
// around multiples of four matter).
#include "rom/Crc32.h"

#include <QtTest>
#include <random>
#include <vector>

namespace {
std::uint32_t ReferenceCrc(const std::vector<std::uint8_t>& bytes)
{
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::uint8_t b : bytes) {
        c ^= b;
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

std::vector<std::uint8_t> Bytes(const char* text)
{
    return std::vector<std::uint8_t>(text, text + std::strlen(text));
}
}

class TestCrc32 : public QObject {
    Q_OBJECT
private slots:
    void knownValues_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<quint32>("crc");
        QTest::newRow("empty") << QByteArray() << quint32(0);
        QTest::newRow("check string") << QByteArray("123456789") << quint32(0xCBF43926u);
        QTest::newRow("one byte a") << QByteArray("a") << quint32(0xE8B7BE43u);
        QTest::newRow("pangram") << QByteArray("The quick brown fox jumps over the lazy dog")
                                 << quint32(0x414FA339u);
    }
    void knownValues()
    {
        QFETCH(QByteArray, text);
        QFETCH(quint32, crc);
        QCOMPARE(Crc32(reinterpret_cast<const std::uint8_t*>(text.constData()), std::size_t(text.size())),
                 crc);
    }

    void matchesReferenceWholeAndInPieces()
    {
        std::mt19937 random(7);
        for (std::size_t length : {1u, 3u, 4u, 5u, 7u, 8u, 9u, 63u, 64u, 65u, 4099u}) {
            std::vector<std::uint8_t> data(length);
            for (auto& b : data)
                b = std::uint8_t(random());
            const std::uint32_t expected = ReferenceCrc(data);
            QCOMPARE(Crc32(data.data(), data.size()), expected);
            for (std::size_t cut = 0; cut <= length; cut += 1 + length / 5) {
                const std::uint32_t first = Crc32Update(0, data.data(), cut);
                QCOMPARE(Crc32Update(first, data.data() + cut, length - cut), expected);
            }
        }
        QCOMPARE(ReferenceCrc(Bytes("123456789")), 0xCBF43926u);
    }
};

QTEST_APPLESS_MAIN(TestCrc32)
#include "test_crc32.moc"
