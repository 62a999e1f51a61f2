#pragma once

#include <QJsonObject>
#include <QString>
#include <QVariant>
#include <functional>

class QWebEnginePage;

namespace kv820::test {

// A bound on Chromium's start and on a page's drawing, never a pause.
inline constexpr int PageWaitMs = 60000;

// Runs a script in the page and waits (bounded) for its result; a script that never
// answers fails the test.
QVariant runScript(QWebEnginePage& page, const QString& script);
// The JSON an expression of the page gives, such as "kv820Map.state()".
QJsonObject scriptState(QWebEnginePage& page, const QString& expression);
// Waits (bounded) until the expression's JSON is what `done` looks for.
bool waitForState(QWebEnginePage& page, const QString& expression,
                  const std::function<bool(const QJsonObject&)>& done);

}  // namespace kv820::test

// The main of a test of a web page: the web engine is prepared before the application.
#define KV820_WEB_PAGE_TEST_MAIN(TestClass)         \
    int main(int argc, char** argv) {               \
        kv820::prepareWebEngineBeforeApplication(); \
        QApplication app(argc, argv);               \
        TestClass test;                             \
        return QTest::qExec(&test, argc, argv);     \
    }
