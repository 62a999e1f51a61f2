#pragma once

#include <QTreeWidget>

namespace kv820 {

class AppContext;

// The registered users in table order, one row per used registry slot: name, phone and
// IMEI in three left-aligned columns. The list refills itself whenever the registry is
// reloaded, so it always shows what the table holds.
class UserListView : public QTreeWidget {
    Q_OBJECT
  public:
    static constexpr int ColumnWidth = 125;

    UserListView(AppContext& context, QWidget* parent = nullptr);

    void refill();

  private:
    AppContext& context_;
};

}  // namespace kv820
