#pragma once

#include <QDateTime>
#include <QStatusBar>
#include <QString>

class QLabel;
class QTimer;

namespace kv820 {

// Four parts whose right edges are W-110, W-80, W-50 and W (W the width, at least 300):
// the clock, an empty part, "NUM" and an empty part. A right part grows when its text
// needs more room in the font at hand, so "NUM" is never cut. The clock ticks every second.
class MainStatusBar : public QStatusBar {
    Q_OBJECT
  public:
    static constexpr int MinimumPartsWidth = 300;

    explicit MainStatusBar(QWidget* parent = nullptr);

    // "YYYY/MM/DD     hh:mm:ss", five spaces between date and time.
    static QString clockText(const QDateTime& localTime);

    QLabel* part(int index) const { return parts_.at(static_cast<std::size_t>(index)); }

    // The SMS session's state and health, shown in the free room of the clock's part.
    void setSessionHealth(const QString& text);
    QLabel* sessionHealth() const { return health_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void tick();
    std::array<int, 4> partRightEdges() const;

    std::array<QLabel*, 4> parts_{};
    QLabel* health_;
    QTimer* clock_;
};

}  // namespace kv820
