#pragma once

#include "mixer/project/settings_store.h"

#include <QString>

namespace mixer {

// The writes the output options dialog makes to the profile, as an interface so that tests
// can see their order. The program uses SettingsStoreWriter over its SettingsStore.
class ProfileWriter {
  public:
    virtual ~ProfileWriter() = default;
    virtual void writeInteger(const IntegerSetting& setting, int value) = 0;
    virtual void writeText(const TextSetting& setting, const QString& value) = 0;
};

class SettingsStoreWriter final : public ProfileWriter {
  public:
    explicit SettingsStoreWriter(SettingsStore& store) : store_(store) {}
    void writeInteger(const IntegerSetting& setting, int value) override {
        store_.write(setting, value);
    }
    void writeText(const TextSetting& setting, const QString& value) override {
        store_.write(setting, value);
    }

  private:
    SettingsStore& store_;
};

}  // namespace mixer
