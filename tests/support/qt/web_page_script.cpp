#include "support/qt/web_page_script.h"

#include <QJsonDocument>
#include <QTest>
#include <QWebEnginePage>

namespace kv820::test {

QVariant runScript(QWebEnginePage& page, const QString& script) {
    QVariant result;
    bool done = false;
    page.runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    [&] { QVERIFY(QTest::qWaitFor([&] { return done; }, PageWaitMs)); }();
    return result;
}

QJsonObject scriptState(QWebEnginePage& page, const QString& expression) {
    const QString json =
        runScript(page, QStringLiteral("JSON.stringify(%1)").arg(expression)).toString();
    return QJsonDocument::fromJson(json.toUtf8()).object();
}

bool waitForState(QWebEnginePage& page, const QString& expression,
                  const std::function<bool(const QJsonObject&)>& done) {
    return QTest::qWaitFor([&] { return done(scriptState(page, expression)); }, PageWaitMs);
}

}  // namespace kv820::test
