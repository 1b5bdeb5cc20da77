#pragma once

#include <QString>
#include <string>
#include <utility>
#include <vector>

class ParameterList;

// The user's own presets, kept in the settings so that every later session has them: each a name
// and the values every parameter had when it was saved.
class SavedPresets {
public:
  static constexpr int kSlots = 16;  // Simulation > Presets lists this many

  struct Preset {
    QString name;
    std::vector<std::pair<std::string, double>> values;
  };

  // Reads the presets from the settings.
  SavedPresets();

  const std::vector<Preset>& presets() const { return presets_; }
  // Keeps `parameters`' values under `name`, replacing a preset of that name. False when the
  // name is new and every slot is taken.
  bool save(const QString& name, const ParameterList& parameters);

private:
  void write() const;

  std::vector<Preset> presets_;
};
