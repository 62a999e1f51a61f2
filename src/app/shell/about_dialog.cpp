#include "app/shell/about_dialog.h"

#include <QLabel>
#include <QVBoxLayout>

namespace kv820 {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("KV820-Call Center Version Information"));
    setMinimumSize(360, 200);
    auto* layout = new QVBoxLayout(this);
    const QString lines[] = {
        QStringLiteral("kv820-callcenter  KV820-Call Center  Ver1.01"),
        QStringLiteral("The kv820-callcenter project"),
        QStringLiteral("Free software under the MIT License"),
        QStringLiteral("Built with Qt %1 and SQLite").arg(QString::fromLatin1(qVersion())),
    };
    layout->addStretch();
    for (const QString& line : lines) {
        auto* label = new QLabel(line, this);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    layout->addStretch();
}

}  // namespace kv820
