// The readers against patches assembled here byte by byte from the two
// layouts (so they are not only checked against our own writer), and every
// malformed or foreign patch refused with a reason and nothing applied.
#include "PatchFixture.h"
#include "ReferencePatch.h"
#include "patch/Bps.h"
#include "rom/Crc32.h"

#include <QtTest>

Q_DECLARE_METATYPE(ByteVector)

namespace {

ByteVector Concat(std::initializer_list<ByteVector> parts)
{
    ByteVector out;
    for (const ByteVector& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

ByteVector Text(const char* s)
{
    return ByteVector(s, s + std::strlen(s));
}

ByteVector Le32(std::uint32_t v)
{
    return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
}

std::uint32_t CrcOf(const ByteVector& v)
{
    return Crc32(v.data(), v.size());
}

// The three checksums after `body` ("BPS1" ... last action): the CRC-32 of
// `source`, of `target` and of everything before the last four bytes.
ByteVector WithChecksums(const ByteVector& body, const ByteVector& source, const ByteVector& target)
{
    ByteVector out = Concat({body, Le32(CrcOf(source)), Le32(CrcOf(target))});
    return Concat({out, Le32(CrcOf(out))});
}

const ByteVector Sixteen = Text("ABCDEFGHIJKLMNOP");

// Every kind of action, both copy directions, a copy that reads its own
// output, and metadata "hi".
const ByteVector BpsAllTarget = Text("ABCDxyzMNOPPPPPPPEFGHABCDxyz");
ByteVector BpsAllBody()
{
    return Concat({Text("BPS1"),
                   {0x90, 0x9C, 0x82, 'h', 'i'}, // source 16, target 28, metadata 2
                   {0x8C},                       // SourceRead 4: "ABCD"
                   {0x89, 'x', 'y', 'z'},        // TargetRead 3
                   {0x8E, 0x98},                 // SourceCopy 4 from +12: "MNOP"
                   {0x97, 0x94},                 // TargetCopy 6 from +10: the "P" just written, repeated
                   {0x8E, 0x99},                 // SourceCopy 4, cursor 16 - 12 = 4: "EFGH"
                   {0x9B, 0xA1}});               // TargetCopy 7, cursor 16 - 16 = 0: "ABCDxyz"
}

// Numbers of two bytes: target size 200 (0x48 0x80) and a TargetCopy of 199
// bytes ((198 << 2) | 3 = 795: 0x1B 0x85) repeating the one byte read.
const ByteVector BpsGrowTarget(200, 'Q');
ByteVector BpsGrowBody()
{
    return Concat({Text("BPS1"), {0x84, 0x48, 0x80, 0x80}, {0x81, 'Q'}, {0x1B, 0x85, 0x80}});
}

ByteVector Iota(std::size_t n)
{
    ByteVector v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = std::uint8_t(i);
    return v;
}

} // namespace

class TestPatchReader : public QObject {
    Q_OBJECT
private slots:
    void handAssembledPatchesApply_data()
    {
        QTest::addColumn<ByteVector>("patch");
        QTest::addColumn<ByteVector>("image");
        QTest::addColumn<ByteVector>("expected");
        const ByteVector iota = Iota(16);
        auto with = [&](std::initializer_list<std::pair<std::size_t, std::uint8_t>> changes, std::size_t size = 16) {
            ByteVector v = iota;
            v.resize(size, 0);
            for (auto [at, value] : changes)
                v[at] = value;
            return v;
        };
        QTest::newRow("IPS record and run")
            << Concat({Text("PATCH"), {0, 0, 2, 0, 3, 0xAA, 0xBB, 0xCC}, {0, 0, 8, 0, 0, 0, 4, 0xEE}, Text("EOF")})
            << iota << with({{2, 0xAA}, {3, 0xBB}, {4, 0xCC}, {8, 0xEE}, {9, 0xEE}, {10, 0xEE}, {11, 0xEE}});
        QTest::newRow("IPS without records") << Concat({Text("PATCH"), Text("EOF")}) << iota << iota;
        QTest::newRow("IPS record at offset 0 and at the last byte")
            << Concat({Text("PATCH"), {0, 0, 0, 0, 1, 0x99}, {0, 0, 15, 0, 1, 0x77}, Text("EOF")}) << iota
            << with({{0, 0x99}, {15, 0x77}});
        QTest::newRow("IPS growth past the end, gap of zeros")
            << Concat({Text("PATCH"), {0, 0, 20, 0, 2, 0x11, 0x22}, Text("EOF")}) << iota
            << with({{20, 0x11}, {21, 0x22}}, 22);
        QTest::newRow("IPS run growing the image")
            << Concat({Text("PATCH"), {0, 0, 14, 0, 0, 0, 6, 0x5A}, Text("EOF")}) << iota
            << with({{14, 0x5A}, {15, 0x5A}, {16, 0x5A}, {17, 0x5A}, {18, 0x5A}, {19, 0x5A}}, 20);
        QTest::newRow("IPS truncation") << Concat({Text("PATCH"), Text("EOF"), {0, 0, 10}}) << iota
                                        << ByteVector(iota.begin(), iota.begin() + 10);
        QTest::newRow("IPS record, then truncation")
            << Concat({Text("PATCH"), {0, 0, 3, 0, 1, 0x33}, Text("EOF"), {0, 0, 5}}) << iota << ByteVector{0, 1, 2, 0x33, 4};
        QTest::newRow("IPS truncation longer than the image changes nothing")
            << Concat({Text("PATCH"), Text("EOF"), {0, 1, 0}}) << iota << iota;
        QTest::newRow("IPS later record wins where they overlap")
            << Concat({Text("PATCH"), {0, 0, 2, 0, 2, 1, 2}, {0, 0, 3, 0, 1, 9}, Text("EOF")}) << iota
            << with({{2, 1}, {3, 9}});
        QTest::newRow("IPS run of 0 bytes writes nothing")
            << Concat({Text("PATCH"), {0, 0, 4, 0, 0, 0, 0, 0xFF}, Text("EOF")}) << iota << iota;
        QTest::newRow("IPS record at 0x454F45 of a large image")
            << Concat({Text("PATCH"), {0x45, 0x4F, 0x45, 0, 2, 0xDE, 0xAD}, Text("EOF")}) << ByteVector(0x454F50, 0)
            << [] {
                   ByteVector v(0x454F50, 0);
                   v[0x454F45] = 0xDE;
                   v[0x454F46] = 0xAD;
                   return v;
               }();
        QTest::newRow("BPS every action kind, metadata") << WithChecksums(BpsAllBody(), Sixteen, BpsAllTarget)
                                                          << Sixteen << BpsAllTarget;
        QTest::newRow("BPS two-byte numbers, image grows")
            << WithChecksums(BpsGrowBody(), Text("abcd"), BpsGrowTarget) << Text("abcd") << BpsGrowTarget;
        QTest::newRow("BPS shrinking to the source's start")
            << WithChecksums(Concat({Text("BPS1"), {0x90, 0x85, 0x80, 0x90}}), Sixteen, Text("ABCDE")) << Sixteen
            << Text("ABCDE");
    }
    void handAssembledPatchesApply()
    {
        QFETCH(ByteVector, patch);
        QFETCH(ByteVector, image);
        QFETCH(ByteVector, expected);
        const ByteVector before = image;
        QString error;
        const PatchApplyResult result = ApplyPatch(patch, image, {}, error);
        QVERIFY2(result.image, qPrintable(error));
        QVERIFY(!result.sourceMismatch && !result.targetMismatch);
        QVERIFY(*result.image == expected);
        QVERIFY(image == before);
        // The reference appliers read them the same way.
        const ByteVector independent = DetectPatchFormat(patch) == PatchFormat::Ips ? reference::ApplyIps(patch, image)
                                                                                    : reference::ApplyBps(patch, image);
        QVERIFY(independent == expected);
    }

    void malformedAndForeignPatchesAreRefused_data()
    {
        QTest::addColumn<ByteVector>("patch");
        QTest::addColumn<ByteVector>("image");
        QTest::addColumn<QString>("reason"); // a part of the message
        const ByteVector iota = Iota(16);
        const ByteVector eof = Text("EOF");
        const ByteVector ips = Text("PATCH");
        QTest::newRow("empty") << ByteVector() << iota << "empty";
        QTest::newRow("IPS magic cut") << Text("PATC") << iota << "not an IPS or BPS";
        QTest::newRow("UPS patch") << Concat({Text("UPS1"), {0x90, 0x90, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}})
                                   << iota << "not an IPS or BPS";
        QTest::newRow("zip archive") << ByteVector{'P', 'K', 3, 4, 20, 0, 0, 0} << iota << "not an IPS or BPS";
        QTest::newRow("random bytes") << Noise(300, 11) << iota << "not an IPS or BPS";
        QTest::newRow("IPS without EOF") << ips << iota << "EOF";
        QTest::newRow("IPS record without EOF") << Concat({ips, {0, 0, 1, 0, 1, 7}}) << iota << "EOF";
        QTest::newRow("IPS EOF cut") << Concat({ips, {'E', 'O'}}) << iota << "EOF";
        QTest::newRow("IPS record header cut") << Concat({ips, {0, 0, 2, 0}}) << iota << "cut short";
        QTest::newRow("IPS record data cut") << Concat({ips, {0, 0, 2, 0, 3, 1, 2}}) << iota << "cut short";
        QTest::newRow("IPS run cut") << Concat({ips, {0, 0, 2, 0, 0, 0, 9}}) << iota << "cut short";
        QTest::newRow("IPS one byte after EOF") << Concat({ips, eof, {1}}) << iota << "after its \"EOF\"";
        QTest::newRow("IPS two bytes after EOF") << Concat({ips, eof, {0, 1}}) << iota << "after its \"EOF\"";
        QTest::newRow("IPS four bytes after EOF") << Concat({ips, eof, {0, 0, 1, 0}}) << iota << "after its \"EOF\"";
        QTest::newRow("IPS record past 16 MiB") << Concat({ips, {0xFF, 0xFF, 0xFF, 0, 2, 1, 2}, eof}) << iota
                                                << "16 MiB";
        QTest::newRow("IPS run past 16 MiB") << Concat({ips, {0xFF, 0xFF, 0xF0, 0, 0, 0, 0x20, 1}, eof}) << iota
                                             << "16 MiB";
        QTest::newRow("IPS truncation to nothing") << Concat({ips, eof, {0, 0, 0}}) << iota << "empty image";
        // A good record first: nothing of it may be applied either.
        QTest::newRow("IPS bad record after a good one") << Concat({ips, {0, 0, 1, 0, 1, 7}, {0, 0, 2, 0, 9, 1}})
                                                         << iota << "cut short";

        const ByteVector good = WithChecksums(BpsAllBody(), Sixteen, BpsAllTarget);
        QTest::newRow("BPS too short") << Concat({Text("BPS1"), {0x80, 0x80, 0x80}}) << Sixteen << "cut short";
        {
            ByteVector damaged = good;
            damaged[12] ^= 0x01; // inside the TargetRead bytes
            QTest::newRow("BPS damaged: patch checksum") << damaged << Sixteen << "damaged";
        }
        QTest::newRow("BPS damaged: target checksum")
            << WithChecksums(BpsAllBody(), Sixteen, Text("something else")) << Sixteen << "damaged";
        QTest::newRow("BPS for another image: size") << good << Text("ABCDEFGHIJKLMNO") << "made for another image";
        QTest::newRow("BPS for another image: checksum") << good << Text("ABCDEFGHIJKLMNOQ")
                                                         << "made for another image";
        auto bps = [&](std::initializer_list<ByteVector> parts) {
            return WithChecksums(Concat(parts), Sixteen, BpsAllTarget);
        };
        QTest::newRow("BPS action past the target size") << bps({Text("BPS1"), {0x90, 0x84, 0x80}, {0x8C}, {0x80}})
                                                         << Sixteen << "past the target size";
        QTest::newRow("BPS SourceRead past the source") << bps({Text("BPS1"), {0x84, 0x88, 0x80}, {0x9C}}) << Sixteen
                                                        << "source";
        QTest::newRow("BPS SourceCopy before the source") << bps({Text("BPS1"), {0x90, 0x84, 0x80}, {0x8E, 0x83}})
                                                          << Sixteen << "outside the source";
        QTest::newRow("BPS SourceCopy past the source") << bps({Text("BPS1"), {0x90, 0x84, 0x80}, {0x8E, 0x9A}})
                                                        << Sixteen << "outside the source";
        QTest::newRow("BPS TargetCopy of bytes not yet written")
            << bps({Text("BPS1"), {0x90, 0x84, 0x80}, {0x8F, 0x80}}) << Sixteen << "not yet written";
        QTest::newRow("BPS TargetCopy ahead of the output")
            << bps({Text("BPS1"), {0x90, 0x88, 0x80}, {0x85, 'a', 'b'}, {0x8B, 0x84}}) << Sixteen << "not yet written";
        QTest::newRow("BPS TargetRead cut") << bps({Text("BPS1"), {0x90, 0x8A, 0x80}, {0xA5, 'a', 'b'}}) << Sixteen
                                            << "ends before them";
        QTest::newRow("BPS actions short of the target") << bps({Text("BPS1"), {0x90, 0x9C, 0x80}, {0x8C}})
                                                         << Sixteen << "not the 28";
        // 16 MiB + 1: 0x1000001.
        ByteVector big;
        AppendBpsNumber(big, 0x1000001);
        QTest::newRow("BPS target over 16 MiB") << bps({Text("BPS1"), {0x90}, big, {0x80}}) << Sixteen << "16 MiB";
        QTest::newRow("BPS empty target") << bps({Text("BPS1"), {0x90, 0x80, 0x80}}) << Sixteen << "empty image";
        QTest::newRow("BPS metadata past the end") << bps({Text("BPS1"), {0x90, 0x90, 0xC0}}) << Sixteen << "metadata";
        QTest::newRow("BPS number too long") << bps({Text("BPS1"), ByteVector(12, 0x7F), {0x80}}) << Sixteen
                                             << "header";
        QTest::newRow("BPS number running into the checksums")
            << bps({Text("BPS1"), {0x90, 0x90, 0x80}, {0x00}}) << Sixteen << "cut short or malformed";
    }
    void malformedAndForeignPatchesAreRefused()
    {
        QFETCH(ByteVector, patch);
        QFETCH(ByteVector, image);
        QFETCH(QString, reason);
        const ByteVector before = image;
        QString error;
        const PatchApplyResult result = ApplyPatch(patch, image, {}, error);
        QVERIFY(!result.image);
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY(image == before);
        // Inspecting tells the same reason for everything that is wrong
        // with the patch itself.
        if (!reason.contains(QLatin1String("another image")) && !reason.contains(QLatin1String("damaged")) &&
            !reason.contains(QLatin1String("16 MiB")) && !reason.contains(QLatin1String("empty image"))) {
            QString why;
            QVERIFY(!InspectPatch(patch, std::nullopt, why));
            QVERIFY2(why.contains(reason), qPrintable(why));
        }
    }

    void sourceMismatchIsAppliedOnlyWhenForced()
    {
        const ByteVector patch = WithChecksums(BpsAllBody(), Sixteen, BpsAllTarget);
        const ByteVector other = Text("abcdEFGHIJKLmnop");
        QString error;
        PatchApplyResult result = ApplyPatch(patch, other, {}, error);
        QVERIFY(!result.image);
        QVERIFY(result.sourceMismatch);
        QVERIFY(error.contains(QStringLiteral("0x") + QString::number(CrcOf(Sixteen), 16).toUpper()));

        result = ApplyPatch(patch, other, PatchApplyOptions{true}, error);
        QVERIFY(result.image);
        QVERIFY(result.sourceMismatch && result.targetMismatch);
        QVERIFY(*result.image == Concat({Text("abcdxyzmnop"), ByteVector(6, 'p'), Text("EFGHabcdxyz")}));

        // Forcing reads nothing past the image's end, nor mends a damaged patch.
        error.clear();
        result = ApplyPatch(patch, Text("ABCDEFGH"), PatchApplyOptions{true}, error);
        QVERIFY(!result.image);
        QVERIFY2(error.contains(QStringLiteral("end of the image")), qPrintable(error));
        ByteVector damaged = patch;
        damaged[10] ^= 0x20;
        result = ApplyPatch(damaged, other, PatchApplyOptions{true}, error);
        QVERIFY(!result.image);
        QVERIFY(error.contains(QStringLiteral("damaged")));
        // IPS has no checks to force; forcing changes nothing.
        const ByteVector ips = Concat({Text("PATCH"), {0, 0, 1, 0, 1, 0x42}, Text("EOF")});
        result = ApplyPatch(ips, other, PatchApplyOptions{true}, error);
        QVERIFY(result.image && (*result.image)[1] == 0x42 && !result.sourceMismatch);
    }

    void inspectTellsStructureAndChecksums()
    {
        const ByteVector bps = WithChecksums(BpsAllBody(), Sixteen, BpsAllTarget);
        QString error;
        std::optional<PatchInfo> info = InspectPatch(bps, std::nullopt, error);
        QVERIFY2(info, qPrintable(error));
        QCOMPARE(info->format, PatchFormat::Bps);
        QCOMPARE(info->patchSize, std::int64_t(bps.size()));
        QCOMPARE(info->sourceSize, std::int64_t(16));
        QCOMPARE(info->targetSize, std::int64_t(28));
        QVERIFY(info->metadata == Text("hi"));
        QCOMPARE(info->records, std::int64_t(6));
        QCOMPARE(info->actionCounts, (std::array<std::int64_t, 4>{1, 1, 2, 2}));
        QCOMPARE(info->sourceCrc, CrcOf(Sixteen));
        QCOMPARE(info->targetCrc, CrcOf(BpsAllTarget));
        QVERIFY(info->patchCrcHolds());
        QVERIFY(!info->withImage);

        info = InspectPatch(bps, ByteView(Sixteen), error);
        QVERIFY(info && info->withImage && info->sourceMatches && info->applies);
        QCOMPARE(info->resultSize, std::int64_t(28));
        QCOMPARE(info->resultCrc, CrcOf(BpsAllTarget));
        const ByteVector other = Text("abcdEFGHIJKLmnop");
        info = InspectPatch(bps, ByteView(other), error);
        QVERIFY(info && !info->sourceMatches && !info->applies);
        QCOMPARE(info->imageCrc, CrcOf(other));
        QCOMPARE(info->resultSize, std::int64_t(28)); // what forcing would give

        // A damaged patch is still described, with the checksum that fails.
        ByteVector damaged = bps;
        damaged[12] ^= 0x01;
        info = InspectPatch(damaged, std::nullopt, error);
        QVERIFY(info && !info->patchCrcHolds());
        QCOMPARE(info->patchCrcActual, Crc32(damaged.data(), damaged.size() - 4));

        const ByteVector ips = Concat({Text("PATCH"), {0, 0, 2, 0, 3, 1, 2, 3}, {0, 0, 8, 0, 0, 0, 4, 0xEE},
                                       Text("EOF"), {0, 0, 9}});
        info = InspectPatch(ips, std::nullopt, error);
        QVERIFY2(info, qPrintable(error));
        QCOMPARE(info->format, PatchFormat::Ips);
        QCOMPARE(info->records, std::int64_t(2));
        QCOMPARE(info->runRecords, std::int64_t(1));
        QCOMPARE(info->writeEnd, std::int64_t(12));
        QCOMPARE(info->truncateTo, std::optional<std::int64_t>(9));
        info = InspectPatch(ips, ByteView(Sixteen), error);
        QVERIFY(info && info->applies && info->sourceMatches);
        QCOMPARE(info->resultSize, std::int64_t(9));
    }

    void formatNames()
    {
        QCOMPARE(PatchFormatFromPath(QStringLiteral("/a/b/level.IPS")), std::optional<PatchFormat>(PatchFormat::Ips));
        QCOMPARE(PatchFormatFromPath(QStringLiteral("level.bps")), std::optional<PatchFormat>(PatchFormat::Bps));
        QCOMPARE(PatchFormatFromPath(QStringLiteral("level.nes")), std::nullopt);
        QCOMPARE(PatchFormatFromPath(QStringLiteral("ips")), std::nullopt);
        QCOMPARE(PatchFormatFromName(QStringLiteral("Bps")), std::optional<PatchFormat>(PatchFormat::Bps));
    }
};

QTEST_GUILESS_MAIN(TestPatchReader)
#include "test_patch_reader.moc"
