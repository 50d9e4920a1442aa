#include "program/KeptSettings.h"

#include "mainwindow/TForm1.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <stdexcept>

namespace newsbell {

namespace {

// The keys of the versions that kept the alert fields and boxes under their control names.
struct RenamedKey {
    const char* old;
    const char* now;
};

constexpr RenamedKey renamedKeys[] = {
    {"mainWindow/Edit3", "alert/leadHours"},
    {"mainWindow/Edit1", "alert/leadMinutes"},
    {"mainWindow/Edit2", "alert/intervalMinutes"},
    {"mainWindow/Edit4", "alert/afterMinutes"},
    {"mainWindow/CheckBox4", "alert/currencies/EUR"},
    {"mainWindow/CheckBox5", "alert/currencies/USD"},
    {"mainWindow/CheckBox6", "alert/currencies/CHF"},
    {"mainWindow/CheckBox7", "alert/currencies/JPY"},
    {"mainWindow/CheckBox8", "alert/currencies/GBP"},
    {"mainWindow/CheckBox9", "alert/currencies/AUD"},
    {"mainWindow/CheckBox10", "alert/currencies/CAD"},
    {"mainWindow/CheckBox11", "alert/currencies/NZD"},
    {"mainWindow/CheckBox1", "alert/importance/1"},
    {"mainWindow/CheckBox2", "alert/importance/2"},
    {"mainWindow/CheckBox3", "alert/importance/3"},
    {"mainWindow/CheckBox12", "alert/popup"},
    {"mainWindow/CheckBox13", "alert/sound"},
};

// Where the calendar comes from; the versions before kept only a page's address.
const QString oldAddressKey = QStringLiteral("calendar/address");
const QString kindKey = QStringLiteral("source/kind");
const QString addressKey = QStringLiteral("source/address");
const QString feedKey = QStringLiteral("source/feed");
const QString feedZoneKey = QStringLiteral("source/feedZone");
const QString tableZoneKey = QStringLiteral("source/tableZone");

constexpr std::pair<DataSource::Kind, const char*> kindNames[] = {
    {DataSource::Demo, "demo"}, {DataSource::Page, "page"}, {DataSource::Feed, "feed"}};

QString kindName(DataSource::Kind kind) {
    for (const auto& [named, name] : kindNames)
        if (named == kind) return QLatin1String(name);
    return {};
}

// Longer values are cut when told: a value may be as long as the file.
constexpr qsizetype longestToldValue = 200;

} // namespace

KeptSettings::KeptSettings(std::unique_ptr<QSettings> store, Warn warnUser)
    : store_(std::move(store)), warn_(std::move(warnUser)) {}

KeptSettings::~KeptSettings() {
    save();
}

void KeptSettings::save() {
    writeProblem();
}

void KeptSettings::write(const QString& key, const QVariant& value) {
    store_->setValue(key, value);
    if (writeDue_) return;
    writeDue_ = true;
    QTimer::singleShot(0, this, [this] {
        writeDue_ = false;
        if (const std::optional<QString> problem = writeProblem()) emit notSaved(*problem);
    });
}

std::optional<QString> KeptSettings::writeProblem() {
    store_->sync();
    // The status stays at the first error, so it is told once.
    if (store_->status() != QSettings::AccessError || toldNotSaved_) return std::nullopt;
    toldNotSaved_ = true;
    const QString problem = QString::fromUtf8("Настройки не сохранены: файл %1 не записывается.")
                                .arg(store_->fileName());
    warn_(problem);
    return problem;
}

void KeptSettings::warnUnusable(const QString& key, const QString& value, const QString& fallback) {
    const QString shown =
        value.size() > longestToldValue ? value.first(longestToldValue - 1) + QChar(0x2026) : value;
    warn_(fallback.isEmpty()
              ? QString::fromUtf8("Настройка %1 = «%2» не подходит и не используется.")
                    .arg(key, shown)
              : QString::fromUtf8("Настройка %1 = «%2» не подходит; оставлено значение «%3».")
                    .arg(key, shown, fallback));
}

void KeptSettings::warn(const char* utf8, const QString& key) {
    warn_(QString::fromUtf8(utf8).arg(key));
}

void KeptSettings::keepMainWindow(TForm1& window) {
    const std::vector<AlertField> fields = window.alertFields();
    renameOldKeys(fields);
    for (const AlertField& field : fields) keepField(field);
    keepGeometry(window, QStringLiteral("mainWindow/geometry"));
}

void KeptSettings::keepWeekWindow(QWidget& window) {
    keepGeometry(window, QStringLiteral("weekWindow/geometry"));
}

void KeptSettings::renameOldKeys(const std::vector<AlertField>& fields) {
    for (const RenamedKey& renamed : renamedKeys) {
        const QString old = QLatin1String(renamed.old), now = QLatin1String(renamed.now);
        if (std::ranges::none_of(fields,
                                 [&](const AlertField& field) { return field.key() == now; }))
            throw std::logic_error("the main window has no alert field " + now.toStdString());
        if (!store_->contains(old)) continue;
        if (!store_->contains(now)) write(now, store_->value(old));
        store_->remove(old);
    }
}

void KeptSettings::keepField(const AlertField& field) {
    const QString key = field.key();
    if (store_->contains(key)) {
        const QVariant kept = store_->value(key);
        if (kept.canConvert<QString>() && field.takes(kept.toString()))
            field.setValue(kept.toString());
        else
            warnUnusable(key, kept.toString(), field.value());
    }
    // Only values the window takes are kept; a field emptied while typing is not.
    field.follow(this, [this, key, field](const QString& value) {
        if (field.takes(value)) write(key, value);
    });
}

void KeptSettings::keepGeometry(QWidget& window, const QString& key) {
    if (store_->contains(key) && !window.restoreGeometry(store_->value(key).toByteArray()))
        warn("Настройка %1 не подходит; окно встанет на своё обычное место.", key);
    // Both windows live until the program ends, and the week window may be hidden by then.
    connect(qApp, &QCoreApplication::aboutToQuit, this,
            [this, key, target = &window] { write(key, target->saveGeometry()); });
}

QString KeptSettings::readChecked(const QString& key,
                                  const std::function<QString(const QString&)>& problem,
                                  const QString& otherwise) {
    if (!store_->contains(key)) return otherwise;
    const QString kept = store_->value(key).toString();
    if (problem(kept).isEmpty()) return kept.trimmed();
    warnUnusable(key, kept, otherwise);
    return otherwise;
}

void KeptSettings::carryOverAddress() {
    if (!store_->contains(oldAddressKey)) return;
    const QString address = store_->value(oldAddressKey).toString().trimmed();
    // An address that does not do is carried over too, and told as it is read.
    if (!store_->contains(kindKey)) {
        write(kindKey, kindName(address.isEmpty() ? DataSource::Demo : DataSource::Page));
        if (!address.isEmpty()) write(addressKey, address);
    }
    store_->remove(oldAddressKey);
}

DataSource KeptSettings::dataSource() {
    carryOverAddress();
    DataSource source;
    // Each kind's field may be empty while another kind is in use.
    const auto emptyOr = [](QString (*problem)(const QString&)) {
        return [problem](const QString& kept) {
            return kept.trimmed().isEmpty() ? QString() : problem(kept);
        };
    };
    const QString page = readChecked(addressKey, emptyOr(pageAddressProblem), {});
    if (!page.isEmpty()) source.page = pageAddress(page);
    const QString feed = readChecked(feedKey, emptyOr(feedSourceProblem), {});
    if (!feed.isEmpty()) source.feed = feedSource(feed);
    const auto zone = [](const QString& kept) { return zoneProblem(kept, {}); };
    source.feedZone = readChecked(feedZoneKey, zone, source.feedZone);
    source.tableZone = readChecked(tableZoneKey, emptyOr(zone), {});
    const QString kind = readChecked(
        kindKey,
        [](const QString& name) {
            return std::ranges::any_of(
                       kindNames,
                       [&](const auto& known) { return name == QLatin1String(known.second); })
                       ? QString()
                       : QStringLiteral("unknown");
        },
        kindName(DataSource::Demo));
    for (const auto& [named, name] : kindNames)
        if (kind == QLatin1String(name)) source.kind = named;
    // A kind without its field (one that did not do was told) leaves the demonstration.
    if ((source.kind == DataSource::Page && source.page.isEmpty()) ||
        (source.kind == DataSource::Feed && source.feed.isEmpty()))
        source.kind = DataSource::Demo;
    return source;
}

void KeptSettings::setDataSource(const DataSource& source) {
    write(kindKey, kindName(source.kind));
    write(addressKey, source.page.toString());
    write(feedKey, source.feed);
    write(feedZoneKey, source.feedZone);
    write(tableZoneKey, source.tableZone);
}

namespace {

const QString robotsKey = QStringLiteral("robots/");

QString importanceKey(size_t box) {
    return robotsKey + QStringLiteral("importance/") +
           QLatin1String(alertImportances[box].data(), qsizetype(alertImportances[box].size()));
}

QString boolText(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

} // namespace

void KeptSettings::readBool(const QString& key, bool& value) {
    if (!store_->contains(key)) return;
    const QString kept = store_->value(key).toString();
    if (kept == boolText(true) || kept == boolText(false))
        value = kept == boolText(true);
    else
        warnUnusable(key, kept, boolText(value));
}

void KeptSettings::readMinutes(const QString& key, int& value) {
    if (!store_->contains(key)) return;
    const QString kept = store_->value(key).toString();
    bool number = false;
    const int minutes = kept.toInt(&number);
    if (number && minutes >= 0 && minutes <= longestGateWindow)
        value = minutes;
    else
        warnUnusable(key, kept, QString::number(value));
}

RobotFilesSettings KeptSettings::robotFiles() {
    RobotFilesSettings files;
    readBool(robotsKey + QStringLiteral("enabled"), files.enabled);
    files.folder = store_->value(robotsKey + QStringLiteral("folder")).toString();
    readMinutes(robotsKey + QStringLiteral("beforeMinutes"), files.gate.beforeMinutes);
    readMinutes(robotsKey + QStringLiteral("afterMinutes"), files.gate.afterMinutes);
    for (size_t i = 0; i < alertImportances.size(); ++i)
        readBool(importanceKey(i), files.gate.importances[i]);
    return files;
}

void KeptSettings::setRobotFiles(const RobotFilesSettings& files) {
    store_->setValue(robotsKey + QStringLiteral("enabled"), boolText(files.enabled));
    store_->setValue(robotsKey + QStringLiteral("folder"), files.folder);
    store_->setValue(robotsKey + QStringLiteral("beforeMinutes"), files.gate.beforeMinutes);
    store_->setValue(robotsKey + QStringLiteral("afterMinutes"), files.gate.afterMinutes);
    for (size_t i = 0; i < alertImportances.size(); ++i)
        store_->setValue(importanceKey(i), boolText(files.gate.importances[i]));
}

QString KeptSettings::saveFolder(const QString& window) const {
    const QString folder = store_->value(window + QStringLiteral("/saveFolder")).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void KeptSettings::setSaveFolder(const QString& window, const QString& folder) {
    write(window + QStringLiteral("/saveFolder"), folder);
}

std::optional<QString> FolderKeepingFileChooser::chooseFileToSave(QWidget* owner,
                                                                  const QString& startPath) {
    const QString folder = settings_.saveFolder(window_);
    // The dialog opens in the folder that holds the path it is given.
    const QString start = folder.isEmpty() ? startPath : QDir(folder).filePath(QStringLiteral("."));
    std::optional<QString> chosen = chooser_.chooseFileToSave(owner, start);
    if (chosen) settings_.setSaveFolder(window_, QFileInfo(*chosen).absolutePath());
    return chosen;
}

} // namespace newsbell
