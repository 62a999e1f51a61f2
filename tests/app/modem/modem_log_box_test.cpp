#include <QPlainTextEdit>
#include <QTest>

#include "app/modem/modem_log_box.h"

namespace kv820 {

class ModemLogBoxTest : public QObject {
    Q_OBJECT

  private:
    static QStringList lines(const QPlainTextEdit& edit) {
        return edit.toPlainText().split(QLatin1Char('\n'));
    }

  private slots:
    void aModemLineIsFollowedByAnEmptyLine() {
        QPlainTextEdit edit;
        ModemLogBox log(&edit);
        log.appendLine("+CMTI: \"SM\",5\r\n");
        log.appendLine("OK\r\n");
        QCOMPARE(lines(edit), QStringList({"+CMTI: \"SM\",5", "", "OK", "", ""}));
    }

    void anEmptyModemLineGivesTwoLineBreaks() {
        QPlainTextEdit edit;
        ModemLogBox log(&edit);
        log.appendLine("\r\n");
        QCOMPARE(edit.document()->blockCount(), 3);
    }

    void aLineWithoutLineEndTakesOneLine() {
        QPlainTextEdit edit;
        ModemLogBox log(&edit);
        log.appendLine("00 0A FF ");
        log.appendLine("01 ");
        QCOMPARE(lines(edit), QStringList({"00 0A FF ", "01 ", ""}));
    }

    void theLogIsEmptiedOnceItHoldsMoreThanAHundredLines() {
        QPlainTextEdit edit;
        ModemLogBox log(&edit);
        for (int i = 0; i < 100; ++i) {
            log.appendLine("line");
        }
        QCOMPARE(edit.document()->blockCount(), 101);  // 100 lines and the empty last one
        log.appendLine("next");
        QCOMPARE(lines(edit), QStringList({"next", ""}));
    }

    void aHundredLinesAreKept() {
        QPlainTextEdit edit;
        ModemLogBox log(&edit);
        for (int i = 0; i < 99; ++i) {
            log.appendLine("line");
        }
        log.appendLine("last kept");
        QCOMPARE(lines(edit).at(99), QStringLiteral("last kept"));
        QCOMPARE(lines(edit).first(), QStringLiteral("line"));
    }

    void textsAreAppendedAsGivenWithoutALimit() {
        QPlainTextEdit edit;
        ModemLogBox log(&edit);
        for (int i = 0; i < 150; ++i) {
            log.appendText("at\r\n");
        }
        QCOMPARE(edit.document()->blockCount(), 151);
        log.appendText("no line end");
        log.appendText(" continued");
        QCOMPARE(lines(edit).last(), QStringLiteral("no line end continued"));
    }

    void writesAtTheEndWhereverTheCaretWas() {
        QPlainTextEdit edit;
        ModemLogBox log(&edit);
        log.appendLine("first");
        edit.moveCursor(QTextCursor::Start);
        log.appendLine("second");
        QCOMPARE(lines(edit), QStringList({"first", "second", ""}));
    }

    void deviceBytesAreShownAsLatin1() {
        QPlainTextEdit edit;
        ModemLogBox log(&edit);
        log.appendText("caf\xe9");
        QCOMPARE(edit.toPlainText(), QString::fromUtf8("caf\u00e9"));
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::ModemLogBoxTest)
#include "modem_log_box_test.moc"
