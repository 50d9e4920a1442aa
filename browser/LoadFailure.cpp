#include "browser/LoadFailure.h"

#include <array>
#include <utility>

namespace newsbell {

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The phrase for a code of the table, or nullptr.
template <size_t size>
const char* phraseFor(const std::array<std::pair<int, const char*>, size>& table, int code) {
    for (const auto& [known, phrase] : table)
        if (known == code) return phrase;
    return nullptr;
}

constexpr std::array<std::pair<int, const char*>, 9> httpPhrases{{
    {400, "неверный запрос"},
    {401, "нужна авторизация"},
    {403, "доступ запрещён"},
    {404, "страница не найдена"},
    {410, "страница удалена"},
    {500, "внутренняя ошибка сервера"},
    {502, "ошибка шлюза"},
    {503, "сервер временно недоступен"},
    {504, "шлюз не дождался ответа сервера"},
}};

// Chromium's network error codes (net_error_list.h) that a calendar address meets.
constexpr std::array<std::pair<int, const char*>, 19> networkPhrases{{
    {-2, "ошибка загрузки"},
    {-6, "файл не найден"},
    {-7, "время ожидания истекло"},
    {-10, "нет доступа к файлу"},
    {-21, "сеть изменилась во время загрузки"},
    {-100, "сервер закрыл соединение"},
    {-101, "соединение сброшено"},
    {-102, "соединение отклонено: по этому адресу никто не отвечает"},
    {-104, "не удалось соединиться с сервером"},
    {-105, "имя сервера не найдено"},
    {-106, "нет подключения к сети"},
    {-109, "адрес недоступен"},
    {-118, "сервер не ответил вовремя"},
    {-137, "имя сервера не удалось найти: нет ответа от службы имён"},
    {-300, "неверный адрес"},
    {-301, "такие адреса браузер не открывает"},
    {-302, "неизвестная схема адреса"},
    {-312, "порт закрыт для браузера как небезопасный"},
    {-324, "сервер ничего не ответил"},
}};

} // namespace

QString loadFailureMessage(const LoadFailure& failure) {
    return text("Страница календаря %1 не открылась: %2")
        .arg(failure.address.toDisplayString(), failure.reason);
}

QString httpStatusReason(int status) {
    const QString answer = text("сервер ответил кодом HTTP %1").arg(status);
    const char* phrase = phraseFor(httpPhrases, status);
    return phrase ? answer + QStringLiteral(" (") + text(phrase) + QLatin1Char(')') : answer;
}

QString networkErrorReason(int code, const QString& name) {
    if (const char* phrase = phraseFor(networkPhrases, code)) return text(phrase);
    // Certificate errors share a range of their own.
    if (code <= -200 && code > -300) return text("ошибка сертификата сервера (%1)").arg(name);
    return text("ошибка браузера %1 (%2)").arg(name).arg(code);
}

} // namespace newsbell
