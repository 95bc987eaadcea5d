#pragma once

#include <QSettings>
#include <map>
#include <memory>
#include <vector>

#include "base/MainLoop.h"
#include "base/ObserverList.h"
#include "platform/UserDefaults.h"

namespace lumivoke::desktop {

/// The application's defaults in QSettings ("velmorandix", "Lumivoke"). Each value is stored as
/// text tagged with its kind ("b:", "i:", "d:", "s:", "x:" for base64 data), since the INI
/// format would otherwise read every value back as text.
class QtUserDefaults final : public UserDefaults {
public:
    explicit QtUserDefaults(MainLoop& loop);
    /// Stores in a file of its own (for tests and trials).
    QtUserDefaults(MainLoop& loop, const QString& fileName);

    void registerDefaults(const std::vector<std::pair<std::string, DefaultsValue>>& v) override;
    std::optional<DefaultsValue> object(const std::string& key) override;
    void set(const std::string& key, DefaultsValue value) override;
    Token observe(const std::string& key, std::function<void()> callback) override;

    /// The stored text of a value, and back; none for text that is not one.
    static QString encode(const DefaultsValue& value);
    static std::optional<DefaultsValue> decode(const QString& text);

private:
    MainLoop& loop_;
    std::unique_ptr<QSettings> settings_;
    std::map<std::string, DefaultsValue> registered_;
    std::map<std::string, ObserverList<>> observers_;
};

}  // namespace lumivoke::desktop
