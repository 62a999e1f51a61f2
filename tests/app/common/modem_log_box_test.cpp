#include <QPlainTextEdit>
#include <QTest>

#include "app/common/modem_log_box.h"

namespace kv820 {

// Each step appends a modem line ("L") or a reply text as given ("T").
using LogSteps = QList<QPair<char, QByteArray>>;

class ModemLogBoxTest : public QObject {
    Q_OBJECT

  private slots:
    void theLogFollowsItsLineRule_data() {
        QTest::addColumn<LogSteps>("steps");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("a modem line is followed by an empty line")
            << LogSteps{{'L', "+CMTI: \"SM\",5\r\n"}, {'L', "OK\r\n"}}
            << QStringList{"+CMTI: \"SM\",5", "", "OK", "", ""};
        QTest::newRow("an empty modem line gives two breaks")
            << LogSteps{{'L', "\r\n"}} << QStringList{"", "", ""};
        QTest::newRow("texts are appended as given")
            << LogSteps{{'T', "no line end"}, {'T', " continued"}}
            << QStringList{"no line end continued"};
        QTest::newRow("device bytes are Latin-1")
            << LogSteps{{'T', "caf\xe9"}} << QStringList{QString::fromUtf8("caf\u00e9")};
        LogSteps hundred(100, {'L', "line"});
        QTest::newRow("a hundred lines are kept")
            << hundred << QStringList(100, "line") + QStringList{""};
        QTest::newRow("the next line empties the log")
            << hundred + LogSteps{{'L', "next"}} << QStringList{"next", ""};
    }

    void theLogFollowsItsLineRule() {
        QFETCH(LogSteps, steps);
        QPlainTextEdit edit;
        ModemLogBox log(&edit);
        for (const auto& [kind, bytes] : steps) {
            edit.moveCursor(QTextCursor::Start);  // the log writes at the end wherever the caret is
            const std::string_view text(bytes.constData(), static_cast<size_t>(bytes.size()));
            kind == 'L' ? log.appendLine(text) : log.appendText(text);
        }
        QTEST(edit.toPlainText().split(QLatin1Char('\n')), "lines");
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::ModemLogBoxTest)
#include "modem_log_box_test.moc"
