#include "app/shell/main_status_bar.h"

#include <QLabel>
#include <QSizeGrip>
#include <QTimer>

namespace kv820 {

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent), clock_(new QTimer(this)) {
    setObjectName(QStringLiteral("mainStatusBar"));
    setSizeGripEnabled(true);
    const char* texts[] = {"", "", "NUM", ""};
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        parts_[i] = new QLabel(QString::fromLatin1(texts[i]), this);
        parts_[i]->setObjectName(QStringLiteral("statusPart%1").arg(i));
        parts_[i]->setFrameShape(QFrame::Panel);
        parts_[i]->setFrameShadow(QFrame::Sunken);
        parts_[i]->setContentsMargins(2, 0, 0, 0);
    }
    // Inside the clock's part: the clock needs only its start.
    health_ = new QLabel(QStringLiteral("Idle"), parts_[0]);
    health_->setObjectName(QStringLiteral("sessionHealthPart"));
    health_->setAccessibleName(QStringLiteral("SMS session"));
    clock_->setInterval(1000);
    connect(clock_, &QTimer::timeout, this, &MainStatusBar::tick);
    clock_->start();
    tick();
}

QString MainStatusBar::clockText(const QDateTime& t) {
    return t.toString(QStringLiteral("yyyy/MM/dd     hh:mm:ss"));
}

std::array<int, 4> MainStatusBar::partRightEdges() const {
    constexpr int RightPartWidths[] = {30, 30, 50};  // parts 1 to 3
    std::array<int, 4> edges{};
    edges[3] = std::max(width(), MinimumPartsWidth);
    for (std::size_t i = 3; i > 0; --i) {
        const int needed = parts_[i]->minimumSizeHint().width();
        edges[i - 1] = edges[i] - std::max(RightPartWidths[i - 1], needed);
    }
    return edges;
}

void MainStatusBar::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    const auto edges = partRightEdges();
    int left = 0;
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        parts_[i]->setGeometry(left, 2, edges[i] - left, height() - 4);
        left = edges[i];
    }
    // The clock needs only the start of its part; the rest tells how the session stands.
    const int clockWidth = parts_[0]->fontMetrics().horizontalAdvance(parts_[0]->text()) + 24;
    health_->setGeometry(clockWidth, 0, std::max(0, edges[0] - clockWidth - 4),
                         parts_[0]->height());
    // The last part reaches the right edge; the size grip stays on top of it, reachable.
    if (auto* grip = findChild<QSizeGrip*>()) {
        grip->raise();
    }
}

void MainStatusBar::setSessionHealth(const QString& text) {
    health_->setText(text);
    health_->setToolTip(text);
}

void MainStatusBar::tick() {
    parts_[0]->setText(clockText(QDateTime::currentDateTime()));
}

}  // namespace kv820
