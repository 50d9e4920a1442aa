#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <algorithm>
#include <array>
#include <string_view>

namespace newsbell {

// The command line's words that the runs at a moment (--due-at, --gate-at) read alike. Each
// throws Error with the reason, naming the option.

// A moment "YYYY-MM-DD HH:MM:SS" (wall time).
void readMoment(const QString& moment, const char* option, QDate& day, QTime& time);

[[noreturn]] void failNoSuchValue(const char* option, const QStringList& values,
                                  const QString& item);

// Ticks exactly the boxes whose values the comma-separated list names; an empty list ticks none.
template <size_t N>
std::array<bool, N> readTicks(const QString& list, const std::array<std::string_view, N>& values,
                              const char* option) {
    std::array<bool, N> ticked{};
    if (list.trimmed().isEmpty()) return ticked;
    for (const QString& item : list.split(QLatin1Char(','))) {
        const std::string value = item.trimmed().toUpper().toStdString();
        const auto found = std::find(values.begin(), values.end(), value);
        if (found == values.end()) {
            QStringList names;
            for (std::string_view name : values) names << QString::fromLatin1(name);
            failNoSuchValue(option, names, item);
        }
        ticked[size_t(found - values.begin())] = true;
    }
    return ticked;
}

} // namespace newsbell
