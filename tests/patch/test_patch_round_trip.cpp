// Creating a patch and applying it to the original gives the modified image
// byte for byte, in both formats, over a table of edit patterns; and the
// patches stay small where the formats allow it.
#include "PatchFixture.h"
#include "ReferencePatch.h"
#include "patch/Ips.h"

#include <QtTest>

#include <algorithm>

namespace {

constexpr std::size_t FiveMegabytes = 5 * 1000 * 1000;

ByteVector WithRun(ByteVector v, std::size_t at, std::size_t length, std::uint8_t value)
{
    std::fill(v.begin() + std::ptrdiff_t(at), v.begin() + std::ptrdiff_t(at + length), value);
    return v;
}

ByteVector WithBytes(ByteVector v, std::size_t at, const ByteVector& bytes)
{
    std::copy(bytes.begin(), bytes.end(), v.begin() + std::ptrdiff_t(at));
    return v;
}

ByteVector Flipped(ByteVector v, std::initializer_list<std::size_t> offsets)
{
    for (std::size_t o : offsets)
        v[o] ^= 0xA5;
    return v;
}

} // namespace

class TestPatchRoundTrip : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QByteArray>("modified");
        // Largest patch accepted per format (-1: no bound), so that a writer
        // that forgets runs or copies fails here.
        QTest::addColumn<int>("maxIps");
        QTest::addColumn<int>("maxBps");

        const ByteVector demo = DemoBytes();
        const std::size_t n = demo.size();
        auto row = [](const char* name, const ByteVector& a, const ByteVector& b, int maxIps, int maxBps) {
            QTest::newRow(name) << ToQByteArray(a) << ToQByteArray(b) << maxIps << maxBps;
        };
        row("identical", demo, demo, 8, 32);
        // "PATCH", one record of one byte (5 + 1), "EOF".
        row("one byte in the middle", demo, Flipped(demo, {0x12345}), 14, 32);
        row("scattered single bytes", demo, Flipped(demo, {17, 4000, 4002, 4007, 90000, 200000}), 60, 60);
        row("offset 0", demo, Flipped(demo, {0}), 14, 32);
        row("last byte", demo, Flipped(demo, {n - 1}), 14, 32);
        row("first and last byte", demo, Flipped(demo, {0, n - 1}), 22, 40);
        row("long run of one value", demo, WithRun(demo, 0x8000, 10000, 0xAA), 16, 40);
        row("run longer than 65,535 bytes", demo, WithRun(demo, 0x1000, 100000, 0x5C), 24, 40);
        row("new bytes longer than 65,535", demo, WithBytes(demo, 0x2000, Noise(70000, 1)), 70100, 70100);
        row("run inside new bytes", demo,
            WithRun(WithBytes(demo, 0x3000, Noise(3000, 2)), 0x3400, 1000, 0x00), 2100, 2100);
        {
            ByteVector grown = demo;
            const ByteVector more = Noise(5000, 3);
            grown.insert(grown.end(), more.begin(), more.end());
            row("growth", demo, grown, 5100, 5100);
            ByteVector zeros = demo;
            zeros.resize(n + 70000, 0);
            row("growth by zeros", demo, zeros, 16, 40);
            row("growth from one byte", ByteVector{0x42}, demo, -1, -1);
        }
        {
            ByteVector cut = demo;
            cut.resize(n - 1000);
            row("shrinking", demo, cut, 11, 40);
            row("shrinking with a change", demo, Flipped(cut, {100, n - 1001}), 30, 40);
            row("shrinking to one byte", demo, ByteVector{demo[0]}, 11, 40);
        }
        {
            // Bytes inserted in the middle shift the rest: BPS copies it from
            // the source, IPS has to write it all.
            ByteVector inserted(demo.begin(), demo.begin() + 0x9000);
            const ByteVector extra = Noise(37, 4);
            inserted.insert(inserted.end(), extra.begin(), extra.end());
            inserted.insert(inserted.end(), demo.begin() + 0x9000, demo.end());
            row("bytes inserted", demo, inserted, -1, 120);
            // A block moved elsewhere.
            ByteVector moved = demo;
            std::copy(demo.begin() + 0x20000, demo.begin() + 0x22000, moved.begin() + 0x4000);
            row("block copied from elsewhere", demo, moved, -1, 60);
        }
        {
            const ByteVector big = Noise(FiveMegabytes, 5);
            row("5 MB, one byte at 0x454F46", big, Flipped(big, {0x454F46}), 15, 40);
            row("5 MB, bytes at 0x454F45 and 0x454F46", big, Flipped(big, {0x454F45, 0x454F46}), 15, 40);
            row("5 MB, run from 0x454F46", big, WithRun(big, 0x454F46, 300, 0x77), 40, 40);
            ByteVector continued = WithRun(big, 0x454F46, 300, 0x77);
            continued[0x454F45] = 0x77;
            row("5 MB, run from 0x454F45", big, continued, 40, 40);
            ByteVector sameBefore = WithRun(big, 0x454F46, 300, big[0x454F45]);
            row("5 MB, run from 0x454F46 continuing the byte before", big, sameBefore, 40, 40);
            row("5 MB, new bytes whose second record would start at 0x454F46", big,
                WithBytes(big, 0x454F46 - 0xFFFF, Noise(70000, 6)), 70100, 70100);
            row("5 MB, change at 0x454F46 after one at 0x454F43", big, Flipped(big, {0x454F43, 0x454F46}), 20, 40);
            ByteVector grown = DemoBytes();
            const ByteVector tail = Noise(FiveMegabytes - grown.size(), 7);
            grown.insert(grown.end(), tail.begin(), tail.end());
            row("grown to 5 MB past 0x454F46", DemoBytes(), grown, -1, -1);
        }
    }
    void roundTrip()
    {
        QFETCH(QByteArray, original);
        QFETCH(QByteArray, modified);
        QFETCH(int, maxIps);
        QFETCH(int, maxBps);
        const ByteVector source = ToBytes(original);
        const ByteVector target = ToBytes(modified);
        for (PatchFormat format : {PatchFormat::Ips, PatchFormat::Bps}) {
            QString error;
            const std::optional<ByteVector> patch = CreatePatch(format, source, target, error);
            QVERIFY2(patch, qPrintable(error));
            QCOMPARE(DetectPatchFormat(*patch), std::optional<PatchFormat>(format));
            const int limit = format == PatchFormat::Ips ? maxIps : maxBps;
            if (limit >= 0)
                QVERIFY2(patch->size() <= std::size_t(limit),
                         qPrintable(QStringLiteral("%1 patch of %2 bytes").arg(PatchFormatName(format)).arg(patch->size())));
            if (format == PatchFormat::Ips)
                QVERIFY(!IpsRecordOffsets(*patch).contains(IpsEofOffset));

            const PatchApplyResult result = ApplyPatch(*patch, source, PatchApplyOptions{}, error);
            QVERIFY2(result.image, qPrintable(PatchFormatName(format) + QStringLiteral(": ") + error));
            QVERIFY(!result.sourceMismatch && !result.targetMismatch);
            QCOMPARE(result.image->size(), target.size());
            QVERIFY2(*result.image == target, qPrintable(PatchFormatName(format)));
            // Read as the layout says by an applier of its own.
            const ByteVector independent = format == PatchFormat::Ips ? reference::ApplyIps(*patch, source)
                                                                      : reference::ApplyBps(*patch, source);
            QVERIFY2(independent == target, qPrintable(PatchFormatName(format) + QStringLiteral(", reference applier")));
        }
    }

    void refusesImagesOverSixteenMiB()
    {
        const ByteVector small{1, 2, 3};
        const ByteVector huge(std::size_t(16 * 1024 * 1024 + 1), 0x11);
        for (PatchFormat format : {PatchFormat::Ips, PatchFormat::Bps}) {
            QString error;
            QVERIFY(!CreatePatch(format, small, huge, error));
            QVERIFY(error.contains(QStringLiteral("16 MiB")));
            error.clear();
            QVERIFY(!CreatePatch(format, small, ByteVector(), error));
            QVERIFY(!error.isEmpty());
        }
        // Exactly 16 MiB is the largest image; IPS still reaches its last byte.
        const ByteVector largest = Noise(std::size_t(16 * 1024 * 1024), 9);
        ByteVector changed = largest;
        changed.back() ^= 1;
        QString error;
        const std::optional<ByteVector> patch = CreatePatch(PatchFormat::Ips, largest, changed, error);
        QVERIFY2(patch, qPrintable(error));
        const PatchApplyResult result = ApplyPatch(*patch, largest, {}, error);
        QVERIFY(result.image && *result.image == changed);
    }
};

QTEST_GUILESS_MAIN(TestPatchRoundTrip)
#include "test_patch_round_trip.moc"
