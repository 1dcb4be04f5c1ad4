// SPDX-License-Identifier: MIT
#pragma once
#include "catalogue/connection.h"
#include "catalogue/queries.h"
#include <QString>
#include <QStringList>
#include <memory>

namespace catalogue_test {

inline QString DataFile(const QString& name)
{
    return QStringLiteral(TALVEX_TEST_DATA "/") + name;
}

// A list target that keeps what a fill did to it.
struct RecordingList : catalogue::ListTarget {
    QStringList items;
    int clears = 0;
    void clear() override
    {
        items.clear();
        ++clears;
    }
    void append(const QString& item) override { items.append(item); }
    QStringList sorted() const
    {
        QStringList copy = items;
        copy.sort();
        return copy;
    }
};

// A text box that counts its writes, as the window's range boxes would see them.
struct RecordingBox : catalogue::TextTarget {
    QString value;
    QStringList history;  // every text written, in order
    QString text() const override { return value; }
    void setText(const QString& text) override
    {
        value = text;
        history.append(text);
    }
};

// An open connection to one of the test catalogues, through the same path the
// program takes.
inline std::unique_ptr<catalogue::Connection> OpenDataFile(const QString& name)
{
    auto connection = std::make_unique<catalogue::Connection>();
    connection->open(catalogue::BuildConnectionString(QString(), QString(), true, DataFile(name)),
                     QString(), QString(), -1);
    return connection;
}

} // namespace catalogue_test

#include <QLocale>
#include <clocale>
#include <string>

namespace catalogue_test {

// Switches the program to German number formats (decimal comma) for its
// lifetime: Qt's default locale always, the C library's where a German locale
// is installed.
class GermanNumbers {
public:
    GermanNumbers() : qtBefore_(QLocale())
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const char* current = std::setlocale(LC_NUMERIC, nullptr);
        cBefore_ = current ? current : "C";
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German_Germany.1252"}) {
            if (std::setlocale(LC_NUMERIC, name)) {
                cGerman_ = true;
                break;
            }
        }
    }
    ~GermanNumbers()
    {
        std::setlocale(LC_NUMERIC, cBefore_.c_str());
        QLocale::setDefault(qtBefore_);
    }
    GermanNumbers(const GermanNumbers&) = delete;
    GermanNumbers& operator=(const GermanNumbers&) = delete;
    bool cLibraryGerman() const { return cGerman_; }

private:
    QLocale qtBefore_;
    std::string cBefore_;
    bool cGerman_ = false;
};

} // namespace catalogue_test
