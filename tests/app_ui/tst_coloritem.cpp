#include "app/ui/ColorItem.h"

#include <QImage>
#include <QPainter>
#include <QStandardItemModel>
#include <QTest>

class TstColorItem : public QObject {
    Q_OBJECT
private slots:
    void colourEntries_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<quint32>("colour");
        QTest::newRow("red") << ColorItem::entryText("Date", 255) << "Date" << quint32(255);
        QTest::newRow("blue-green") << ColorItem::entryText("Date Fixed", 0xFFFFC0) << "Date Fixed"
                                    << quint32(0xFFFFC0);
        QTest::newRow("no colour part") << "Break"
                                        << "Break" << quint32(0);
        QTest::newRow("colour not a number") << QString("X") + QChar(0) + "blue"
                                             << "X" << quint32(0);
    }

    void colourEntries() {
        QFETCH(QString, text);
        const ColorItem::Entry entry = ColorItem::split(text);
        QTEST(entry.name, "name");
        QTEST(entry.colour, "colour");
    }

    void colourEntryDrawing() {
        QStandardItemModel model;
        auto* date = new QStandardItem("Date");
        date->setData(ColorItem::entryText("Date", 255), ColorItem::EntryTextRole);
        model.appendRow(date);
        ColorItem delegate;
        QStyleOptionViewItem option;
        option.font = QFont("DejaVu Sans", 10);
        option.palette = QPalette(Qt::white);
        option.palette.setColor(QPalette::Base, Qt::white);
        option.palette.setColor(QPalette::Text, Qt::black);
        option.palette.setColor(QPalette::Button, QColor(200, 200, 200));
        const QSize size = delegate.sizeHint(option, model.index(0, 0));
        QCOMPARE(size.height(), QFontMetrics(option.font).height() + 4);

        const auto draw = [&](bool selected) {
            QImage image(160, size.height(), QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            option.rect = image.rect();
            option.state = selected ? QStyle::State_Selected : QStyle::State_None;
            delegate.paint(&painter, option, model.index(0, 0));
            painter.end();
            return image;
        };
        const QImage plain = draw(false);
        const int h = size.height();
        // A red square three pixels in from the top left corner, the name after it.
        QCOMPARE(plain.pixelColor(4, 4), QColor(Qt::red));
        QCOMPARE(plain.pixelColor(h - 5, h - 5), QColor(Qt::red));
        QCOMPARE(plain.pixelColor(1, 1), QColor(Qt::white));
        QCOMPARE(plain.pixelColor(h + 1, 1), QColor(Qt::white));
        bool textDrawn = false;
        for (int x = h; x < plain.width() && !textDrawn; ++x) {
            for (int y = 0; y < h; ++y)
                textDrawn = textDrawn || plain.pixelColor(x, y) == QColor(Qt::black);
        }
        QVERIFY(textDrawn);

        const QImage selected = draw(true);
        QCOMPARE(selected.pixelColor(plain.width() - 2, 1), QColor(200, 200, 200));
        QCOMPARE(selected.pixelColor(4, 4), QColor(Qt::red));
        QVERIFY(selected != plain);
    }
};

QTEST_MAIN(TstColorItem)
#include "tst_coloritem.moc"
