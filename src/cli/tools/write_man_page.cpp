// Writes the man page of daybridge-batch from its template: the lines "@OPTIONS@" and
// "@EXIT_STATUS@" become the sections written from the table behind --help, and "@VERSION@"
// the version, so the page and --help cannot drift apart.
//   write_man_page TEMPLATE OUTPUT
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <cstdio>

#include "cli/cli_help.h"

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "write_man_page: %s\n", qPrintable(message));
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);  // the shipped holiday sets are found beside the program
    if (argc != 3) {
        return Fail(QStringLiteral("usage: write_man_page TEMPLATE OUTPUT"));
    }
    const QString templatePath = QFile::decodeName(argv[1]);
    QFile source(templatePath);
    if (!source.open(QIODevice::ReadOnly)) {
        return Fail(QStringLiteral("cannot read %1").arg(templatePath));
    }
    QString page = QString::fromUtf8(source.readAll());
    const std::pair<QString, QString> fills[] = {
        {QStringLiteral("@OPTIONS@\n"), daybridge::cli::ManOptionsSection()},
        {QStringLiteral("@EXIT_STATUS@\n"), daybridge::cli::ManExitStatusSection()},
        {QStringLiteral("@VERSION@"), QStringLiteral(DAYBRIDGE_VERSION)},
    };
    for (const auto& [mark, text] : fills) {
        if (!page.contains(mark)) {
            return Fail(QStringLiteral("%1 has no %2").arg(templatePath, mark.trimmed()));
        }
        page.replace(mark, text);
    }
    QSaveFile out(QFile::decodeName(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || out.write(page.toUtf8()) < 0 || !out.commit()) {
        return Fail(QStringLiteral("cannot write %1").arg(out.fileName()));
    }
    return 0;
}
