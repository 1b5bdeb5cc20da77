#include "app/SavedPresets.h"

#include <QSettings>
#include <algorithm>

#include "cloth/ClothParameters.h"
#include "cloth/ParameterList.h"

namespace {

const QString kArray = QStringLiteral("presets");
const QString kName = QStringLiteral("name");
const QString kValues = QStringLiteral("values");

}  // namespace

SavedPresets::SavedPresets() {
  QSettings settings;
  const int count = std::min(settings.beginReadArray(kArray), kSlots);
  for (int i = 0; i < count; ++i) {
    settings.setArrayIndex(i);
    Preset preset{settings.value(kName).toString(), {}};
    settings.beginGroup(kValues);
    for (const QString& key : settings.childKeys()) {
      bool number = false;
      const double value = settings.value(key).toDouble(&number);
      if (number) preset.values.emplace_back(key.toStdString(), value);
    }
    settings.endGroup();
    if (!preset.name.isEmpty()) presets_.push_back(std::move(preset));
  }
  settings.endArray();
}

bool SavedPresets::save(const QString& name, const ParameterList& parameters) {
  Preset preset{name, {}};
  for (const ClothParameter& p : kClothParameters) preset.values.emplace_back(p.name, parameters.valueOf(p.name));
  const auto same = std::find_if(presets_.begin(), presets_.end(), [&](const Preset& p) { return p.name == name; });
  if (same != presets_.end()) {
    *same = std::move(preset);
  } else if (static_cast<int>(presets_.size()) < kSlots) {
    presets_.push_back(std::move(preset));
  } else {
    return false;
  }
  write();
  return true;
}

void SavedPresets::write() const {
  QSettings settings;
  settings.remove(kArray);
  settings.beginWriteArray(kArray, static_cast<int>(presets_.size()));
  for (int i = 0; i < static_cast<int>(presets_.size()); ++i) {
    settings.setArrayIndex(i);
    settings.setValue(kName, presets_[i].name);
    for (const auto& [parameter, value] : presets_[i].values)
      settings.setValue(kValues + QLatin1Char('/') + QString::fromStdString(parameter), value);
  }
  settings.endArray();
}
