#include "app/map/map_tile_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv820 {

MapTileDialog::MapTileDialog(const MapTileSource& source, QWidget* parent)
    : QDialog(parent),
      urlEdit_(new QLineEdit(source.urlTemplate)),
      attributionEdit_(new QLineEdit(source.attribution)) {
    setObjectName(QStringLiteral("mapTileDialog"));
    setWindowTitle(QStringLiteral("Map Tiles"));
    urlEdit_->setObjectName(QStringLiteral("tileUrlEdit"));
    attributionEdit_->setObjectName(QStringLiteral("tileAttributionEdit"));
    urlEdit_->setMinimumWidth(420);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Tile &URL template:"), urlEdit_);
    form->addRow(QStringLiteral("&Attribution:"), attributionEdit_);
    auto* hint = new QLabel(
        QStringLiteral("{z}, {x} and {y} stand for the zoom level and the tile's column and row."));
    hint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::RestoreDefaults);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            [this] {
                const MapTileSource fallback = MapSettings::defaultTileSource();
                urlEdit_->setText(fallback.urlTemplate);
                attributionEdit_->setText(fallback.attribution);
            });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(buttons);
}

MapTileSource MapTileDialog::tileSource() const {
    return {urlEdit_->text().trimmed(), attributionEdit_->text()};
}

}  // namespace kv820
