#include "app/map/map_tile_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/tiles/mbtiles_file.h"
#include "core/tiles/tile_folder.h"

namespace kv820 {

namespace {

QLineEdit* lineEdit(const QString& text, const char* name) {
    auto* edit = new QLineEdit(text);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QPushButton* button(const QString& text, const char* name) {
    auto* pushButton = new QPushButton(text);
    pushButton->setObjectName(QString::fromLatin1(name));
    pushButton->setAutoDefault(false);
    return pushButton;
}

}  // namespace

MapTileDialog::MapTileDialog(const MapTileSource& source, AppServices services, QWidget* parent)
    : QDialog(parent),
      services_(services),
      urlButton_(new QRadioButton(QStringLiteral("Tile &server (online)"))),
      fileButton_(new QRadioButton(QStringLiteral("&MBTiles file (offline)"))),
      folderButton_(new QRadioButton(QStringLiteral("F&older of tiles (offline)"))),
      urlEdit_(lineEdit(source.urlTemplate, "tileUrlEdit")),
      attributionEdit_(lineEdit(source.attribution, "tileAttributionEdit")),
      fileEdit_(lineEdit(source.kind == MapTileSource::Kind::MbtilesFile ? source.path : QString(),
                         "tileFileEdit")),
      fileBrowse_(button(QStringLiteral("&Browse..."), "tileFileBrowseButton")),
      folderEdit_(lineEdit(source.kind == MapTileSource::Kind::Folder ? source.path : QString(),
                           "tileFolderEdit")),
      folderBrowse_(button(QStringLiteral("Bro&wse..."), "tileFolderBrowseButton")) {
    setObjectName(QStringLiteral("mapTileDialog"));
    setWindowTitle(QStringLiteral("Map Tiles"));
    urlButton_->setObjectName(QStringLiteral("tileUrlKindButton"));
    fileButton_->setObjectName(QStringLiteral("tileFileKindButton"));
    folderButton_->setObjectName(QStringLiteral("tileFolderKindButton"));
    if (source.urlTemplate.isEmpty()) {
        // A file given on the command line has no server: the default one is offered,
        // should the operator go back online.
        const MapTileSource fallback = MapSettings::defaultTileSource();
        urlEdit_->setText(fallback.urlTemplate);
        if (source.kind == MapTileSource::Kind::MbtilesFile) {
            attributionEdit_->setText(fallback.attribution);
        }
    }
    // Wide enough for the texts given (the default attribution is long), within reason.
    for (QLineEdit* edit : {urlEdit_, attributionEdit_}) {
        const int textWidth = edit->fontMetrics().horizontalAdvance(edit->text()) + 24;
        edit->setMinimumWidth(std::clamp(textWidth, 420, 900));
    }
    auto* kinds = new QButtonGroup(this);
    for (QRadioButton* kind : {urlButton_, fileButton_, folderButton_}) {
        kinds->addButton(kind);
        connect(kind, &QRadioButton::toggled, this, &MapTileDialog::enableFields);
    }
    switch (source.kind) {
        case MapTileSource::Kind::MbtilesFile:
            fileButton_->setChecked(true);
            break;
        case MapTileSource::Kind::Folder:
            folderButton_->setChecked(true);
            break;
        case MapTileSource::Kind::Url:
            urlButton_->setChecked(true);
            break;
    }

    auto* grid = new QGridLayout;
    const auto label = [](const QString& text, QWidget* buddy) {
        auto* result = new QLabel(text);
        result->setBuddy(buddy);
        return result;
    };
    constexpr int Indent = 24;
    grid->setColumnMinimumWidth(0, Indent);
    grid->addWidget(urlButton_, 0, 0, 1, 4);
    grid->addWidget(label(QStringLiteral("&URL template:"), urlEdit_), 1, 1);
    grid->addWidget(urlEdit_, 1, 2, 1, 2);
    grid->addWidget(label(QStringLiteral("&Attribution:"), attributionEdit_), 2, 1);
    grid->addWidget(attributionEdit_, 2, 2, 1, 2);
    auto* urlHint = new QLabel(QStringLiteral(
        "{z}, {x} and {y} stand for the zoom level and the tile's column and row. The "
        "attribution is shown as HTML for a server, as plain text for a folder."));
    urlHint->setWordWrap(true);
    grid->addWidget(urlHint, 3, 1, 1, 3);
    grid->addWidget(fileButton_, 4, 0, 1, 4);
    grid->addWidget(label(QStringLiteral("&File:"), fileEdit_), 5, 1);
    grid->addWidget(fileEdit_, 5, 2);
    grid->addWidget(fileBrowse_, 5, 3);
    grid->addWidget(folderButton_, 6, 0, 1, 4);
    grid->addWidget(label(QStringLiteral("Fol&der:"), folderEdit_), 7, 1);
    grid->addWidget(folderEdit_, 7, 2);
    grid->addWidget(folderBrowse_, 7, 3);
    auto* folderHint =
        new QLabel(QStringLiteral("A folder laid out as {z}/{x}/{y}.png or {z}/{x}/{y}.jpg."));
    folderHint->setWordWrap(true);
    grid->addWidget(folderHint, 8, 1, 1, 3);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::RestoreDefaults);
    connect(buttons, &QDialogButtonBox::accepted, this, &MapTileDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            [this] {
                const MapTileSource fallback = MapSettings::defaultTileSource();
                urlButton_->setChecked(true);
                urlEdit_->setText(fallback.urlTemplate);
                attributionEdit_->setText(fallback.attribution);
            });
    connect(fileBrowse_, &QPushButton::clicked, this, &MapTileDialog::chooseFile);
    connect(folderBrowse_, &QPushButton::clicked, this, &MapTileDialog::chooseFolder);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    enableFields();
}

void MapTileDialog::enableFields() {
    urlEdit_->setEnabled(urlButton_->isChecked());
    attributionEdit_->setEnabled(!fileButton_->isChecked());
    fileEdit_->setEnabled(fileButton_->isChecked());
    fileBrowse_->setEnabled(fileButton_->isChecked());
    folderEdit_->setEnabled(folderButton_->isChecked());
    folderBrowse_->setEnabled(folderButton_->isChecked());
}

void MapTileDialog::chooseFile() {
    const auto path = services_.files->chooseOpenFile(
        this, {{QStringLiteral("MBTiles files (*.mbtiles)"), QStringLiteral("mbtiles")},
               {QStringLiteral("All files (*)"), QString()}});
    if (path) {
        fileEdit_->setText(*path);
    }
}

void MapTileDialog::chooseFolder() {
    if (const auto path = services_.files->chooseFolder(this)) {
        folderEdit_->setText(*path);
    }
}

MapTileSource MapTileDialog::tileSource() const {
    if (fileButton_->isChecked()) {
        return {urlEdit_->text().trimmed(), attributionEdit_->text(),
                MapTileSource::Kind::MbtilesFile, fileEdit_->text().trimmed()};
    }
    if (folderButton_->isChecked()) {
        return {urlEdit_->text().trimmed(), attributionEdit_->text(), MapTileSource::Kind::Folder,
                folderEdit_->text().trimmed()};
    }
    return {urlEdit_->text().trimmed(), attributionEdit_->text()};
}

// A file or folder is opened once here, so that the operator learns at once why the map
// could not show it; the map page opens it again for itself.
void MapTileDialog::accept() {
    const MapTileSource source = tileSource();
    try {
        if (source.kind == MapTileSource::Kind::MbtilesFile) {
            MbtilesFile check(source.path.toStdString());
        } else if (source.kind == MapTileSource::Kind::Folder) {
            TileFolder check(source.path.toStdString());
        }
    } catch (const TileSourceError& error) {
        services_.alerts->error(this, QString::fromStdString(error.what()));
        return;
    }
    QDialog::accept();
}

}  // namespace kv820
