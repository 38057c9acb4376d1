// Shared pieces of the dialog and window tests: widgets found by name, recorded message boxes
// and one-line rows for Qt Test data tables.
#pragma once

#include <QWidget>
#include <QtTest>
#include <initializer_list>
#include <vector>

// A caption without its mnemonic mark.
inline QString Plain(QString caption) {
    return caption.remove(QLatin1Char('&'));
}

namespace uitest {

struct Box {
    QString title;
    QString text;
};

// A widget that must exist; its absence ends the test run with its name.
template <class T>
T* Find(QWidget& parent, const QString& name) {
    T* widget = parent.findChild<T*>(name);
    if (widget == nullptr) {
        qFatal("no widget %s", qPrintable(name));
    }
    return widget;
}

template <class T>
T* Find(QWidget& parent, const char* name) {
    return Find<T>(parent, QString::fromLatin1(name));
}

// One row of a data table: Row("name", a, b, c) is QTest::newRow("name") << a << b << c.
template <typename... Values>
void Row(const char* name, const Values&... values) {
    (QTest::newRow(name) << ... << values);
}

}  // namespace uitest

namespace uitest {

// Several data columns of one type.
template <typename T>
void Columns(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        QTest::addColumn<T>(name);
    }
}

}  // namespace uitest
