#include "QtUserDefaults.h"

#include <QByteArray>

namespace lumivoke::desktop {

QtUserDefaults::QtUserDefaults(MainLoop& loop)
    : loop_(loop), settings_(std::make_unique<QSettings>("velmorandix", "Lumivoke")) {}

QtUserDefaults::QtUserDefaults(MainLoop& loop, const QString& fileName)
    : loop_(loop), settings_(std::make_unique<QSettings>(fileName, QSettings::IniFormat)) {}

QString QtUserDefaults::encode(const DefaultsValue& value) {
    if (const auto* b = std::get_if<bool>(&value)) {
        return *b ? "b:1" : "b:0";
    }
    if (const auto* i = std::get_if<std::int64_t>(&value)) {
        return "i:" + QString::number(*i);
    }
    if (const auto* d = std::get_if<double>(&value)) {
        return "d:" + QString::number(*d, 'g', 17);
    }
    if (const auto* s = std::get_if<std::string>(&value)) {
        return "s:" + QString::fromStdString(*s);
    }
    const auto& bytes = std::get<Bytes>(value);
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<qsizetype>(bytes.size()));
    return "x:" + QString::fromLatin1(data.toBase64());
}

std::optional<DefaultsValue> QtUserDefaults::decode(const QString& text) {
    if (text.size() < 2 || text[1] != ':') {
        return std::nullopt;
    }
    const QString payload = text.mid(2);
    bool ok = false;
    switch (text[0].toLatin1()) {
        case 'b':
            if (payload == "1" || payload == "0") {
                return DefaultsValue(payload == "1");
            }
            return std::nullopt;
        case 'i': {
            const auto i = payload.toLongLong(&ok);
            return ok ? std::optional<DefaultsValue>(static_cast<std::int64_t>(i)) : std::nullopt;
        }
        case 'd': {
            const double d = payload.toDouble(&ok);
            return ok ? std::optional<DefaultsValue>(d) : std::nullopt;
        }
        case 's':
            return DefaultsValue(payload.toStdString());
        case 'x': {
            const auto decoded = QByteArray::fromBase64Encoding(
                payload.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded) {
                return std::nullopt;
            }
            const QByteArray& data = *decoded;
            return DefaultsValue(Bytes(data.begin(), data.end()));
        }
        default:
            return std::nullopt;
    }
}

void QtUserDefaults::registerDefaults(const std::vector<std::pair<std::string, DefaultsValue>>& v) {
    for (const auto& [key, value] : v) {
        registered_[key] = value;
    }
}

std::optional<DefaultsValue> QtUserDefaults::object(const std::string& key) {
    const QString qkey = QString::fromStdString(key);
    if (settings_->contains(qkey)) {
        // A value the file holds but that is not ours to read counts as absent.
        if (auto value = decode(settings_->value(qkey).toString())) {
            return value;
        }
    }
    if (auto it = registered_.find(key); it != registered_.end()) {
        return it->second;
    }
    return std::nullopt;
}

void QtUserDefaults::set(const std::string& key, DefaultsValue value) {
    settings_->setValue(QString::fromStdString(key), encode(value));
    settings_->sync();
    if (auto it = observers_.find(key); it != observers_.end()) {
        it->second.post(loop_);
    }
}

Token QtUserDefaults::observe(const std::string& key, std::function<void()> callback) {
    return observers_[key].add(std::move(callback));
}

}  // namespace lumivoke::desktop
