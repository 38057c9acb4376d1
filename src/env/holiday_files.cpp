#include "env/holiday_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "env/text_store.h"

namespace daybridge {
namespace {

constexpr qint64 kMaxRuleFileBytes = 1 << 20;

QString ShippedFolder() {
    return QFileInfo(FindDataFile(QStringLiteral("holidays/germany.txt"))).absolutePath();
}

}  // namespace

QStringList ShippedHolidaySetNames() {
    QStringList names;
    for (const QString& file :
         QDir(ShippedFolder()).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        names << file.chopped(4);
    }
    return names;
}

std::shared_ptr<const HolidaySet> LoadHolidaySet(const QString& nameOrPath, QString& error) {
    const bool isPath =
        nameOrPath.contains(u'/') || nameOrPath.endsWith(u".txt", Qt::CaseInsensitive);
    const QString path = isPath ? nameOrPath
                                : ShippedFolder() + QStringLiteral("/") + nameOrPath.toLower() +
                                      QStringLiteral(".txt");
    if (!isPath && !QFileInfo(path).isFile()) {
        error = QStringLiteral("there is no holiday set named '%1' (shipped: %2)")
                    .arg(nameOrPath, ShippedHolidaySetNames().join(QStringLiteral(", ")));
        return nullptr;
    }
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read the holiday file '%1'").arg(path);
        return nullptr;
    }
    if (file.size() > kMaxRuleFileBytes) {
        error = QStringLiteral("the holiday file '%1' is larger than 1 MiB").arg(path);
        return nullptr;
    }
    const HolidayParseResult parsed = ParseHolidayRules(QString::fromUtf8(file.readAll()));
    if (!parsed.set) {
        error = QStringLiteral("%1, line %2: %3").arg(path).arg(parsed.line).arg(parsed.error);
        return nullptr;
    }
    auto set = std::make_shared<HolidaySet>(*parsed.set);
    set->name = isPath ? nameOrPath : nameOrPath.toLower();
    return set;
}

}  // namespace daybridge
