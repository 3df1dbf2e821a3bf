#include "chart/SharedTexts.h"

#include <QRandomGenerator>
#include <QTest>

namespace {
// Texts of every kind the store must keep apart: empty, short, non-ASCII, and long enough to need a
// block of their own or to fill one.
QString randomText(QRandomGenerator& random) {
    static const QString pieces[] = {QStringLiteral("Room"), QStringLiteral("Büro ÄÖÜ ß"),
                                     QStringLiteral("€ 😀"), QStringLiteral("line\nbreak")};
    const int kind = random.bounded(10);
    const int repeats = kind == 0 ? 0 : kind < 8 ? random.bounded(1, 4) : random.bounded(500, 5000);
    QString text;
    for (int i = 0; i < repeats; ++i)
        text += pieces[random.bounded(int(std::size(pieces)))] + QString::number(random.bounded(50));
    return text;
}
} // namespace

class SharedTextsTest : public QObject {
    Q_OBJECT

private slots:
    // Random texts kept shared or packed: every number gives back its own text in both forms, also
    // after the store moved; only shared texts are found.
    void numbersGiveBackTheirTexts() {
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator random(seed);
        SharedTexts texts;
        std::vector<QString> reference{QString()};
        std::vector<bool> shared{true};
        for (int step = 0; step < 3000; ++step) {
            const QString text = randomText(random);
            const bool interned = random.bounded(2) == 0;
            const quint32 number = interned ? texts.intern(text) : texts.addUtf8(text.toUtf8());
            if (text.isEmpty()) {
                QCOMPARE(number, 0u);
                continue;
            }
            if (number == reference.size()) {
                reference.push_back(text);
                shared.push_back(interned);
            }
            QCOMPARE(reference[number], text);
        }
        const SharedTexts moved = std::move(texts);
        QCOMPARE(moved.count(), qsizetype(reference.size()));
        for (quint32 number = 0; number < reference.size(); ++number) {
            QCOMPARE(moved.at(number), reference[number]);
            QCOMPARE(moved.utf8(number), reference[number].toUtf8());
            const QByteArray bytes = reference[number].toUtf8();
            QCOMPARE(moved.packedUtf8(number).has_value(), !shared[number]);
            QCOMPARE(moved.packedUtf8(number).value_or(bytes), bytes);
            const std::optional<quint32> found = moved.find(reference[number]);
            QVERIFY(!shared[number] || found == number);
            QVERIFY(!found || shared[*found]);
        }
    }
};

QTEST_GUILESS_MAIN(SharedTextsTest)
#include "tst_sharedtexts.moc"
