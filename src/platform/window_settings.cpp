#include "platform/window_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <cmath>
#include <cstdlib>

namespace qm {
namespace {
constexpr int kMostScale = 16;

std::string ConfigFolder() {
  std::string folder;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  // A relative XDG folder is not to be used, so the home default applies then.
  if (xdg != nullptr && xdg[0] == '/') {
    folder = xdg;
  } else if (home != nullptr && home[0] != '\0') {
    folder = std::string(home) + "/.config";
  } else {
    return {};
  }
  return folder + "/quelmarin";
}

std::string SettingsFile(const char* name) {
  const std::string folder = ConfigFolder();
  return folder.empty() ? std::string() : folder + "/" + name;
}

}  // namespace

std::string WindowSettingsPath() {
  return SettingsFile("window.ini");
}

std::string GameSettingsPath() {
  return SettingsFile("settings.ini");
}

std::string ReadEditionChoice(const std::string& path) {
  if (path.empty() || !QFileInfo(QString::fromStdString(path)).isFile()) return {};
  QSettings settings(QString::fromStdString(path), QSettings::IniFormat);
  if (settings.status() != QSettings::NoError) return {};
  return settings.value(QStringLiteral("game/language")).toString().toStdString();
}

void WriteEditionChoice(const std::string& path, const std::string& language) {
  if (path.empty()) return;
  const QString file = QString::fromStdString(path);
  QDir().mkpath(QFileInfo(file).absolutePath());
  QSettings settings(file, QSettings::IniFormat);
  settings.setValue(QStringLiteral("game/language"), QString::fromStdString(language));
  settings.sync();
}

SoundVolumes ReadSoundVolumes(const std::string& path) {
  SoundVolumes volumes;
  if (path.empty() || !QFileInfo(QString::fromStdString(path)).isFile()) return volumes;
  QSettings settings(QString::fromStdString(path), QSettings::IniFormat);
  if (settings.status() != QSettings::NoError) return volumes;
  auto read = [&settings](const char* key, int& value) {
    bool ok = false;
    const int v = settings.value(QString::fromLatin1(key)).toString().toInt(&ok);
    if (ok && v >= 0 && v <= 100) value = v;
  };
  read("sound/effects", volumes.effects);
  read("sound/music", volumes.music);
  return volumes;
}

void WriteSoundVolumes(const std::string& path, const SoundVolumes& volumes) {
  if (path.empty()) return;
  const QString file = QString::fromStdString(path);
  QDir().mkpath(QFileInfo(file).absolutePath());
  QSettings settings(file, QSettings::IniFormat);
  settings.setValue(QStringLiteral("sound/effects"), volumes.effects);
  settings.setValue(QStringLiteral("sound/music"), volumes.music);
  settings.sync();
}

WindowChoice ReadWindowChoice(const std::string& path, const std::string& window) {
  WindowChoice choice;
  if (path.empty() || !QFileInfo(QString::fromStdString(path)).isFile()) return choice;
  QSettings settings(QString::fromStdString(path), QSettings::IniFormat);
  if (settings.status() != QSettings::NoError) return choice;
  const QString group = QString::fromStdString(window);
  bool scale_ok = false;
  const double scale =
      settings.value(group + QStringLiteral("/scale")).toString().toDouble(&scale_ok);
  // Whole factors, as every version wrote them, and the half steps of a fitting window.
  scale_ok = scale_ok && scale >= 1 && scale <= kMostScale && std::floor(scale * 2) == scale * 2;
  const QString full = settings.value(group + QStringLiteral("/full_screen")).toString();
  const bool full_ok = full == QLatin1String("true") || full == QLatin1String("false");
  // A file from before the choice existed has no "fit" at all: the choice is still to be made.
  const QVariant fit = settings.value(group + QStringLiteral("/fit"));
  const QString fit_text = fit.toString();
  const bool fit_ok =
      !fit.isValid() || fit_text == QLatin1String("true") || fit_text == QLatin1String("false");
  if (!scale_ok || !full_ok || !fit_ok) return choice;
  choice.scale = scale;
  choice.full_screen = full == QLatin1String("true");
  choice.fit = !fit.isValid()                      ? FitChoice::kUnchosen
               : fit_text == QLatin1String("true") ? FitChoice::kFit
                                                   : FitChoice::kPixelPerfect;
  choice.stored = true;
  return choice;
}

void WriteWindowChoice(const std::string& path, const std::string& window,
                       const WindowChoice& choice) {
  if (path.empty()) return;
  const QString file = QString::fromStdString(path);
  QDir().mkpath(QFileInfo(file).absolutePath());
  QSettings settings(file, QSettings::IniFormat);
  const QString group = QString::fromStdString(window);
  // A whole factor is written as one, so an earlier version of the game still reads it.
  if (choice.scale == std::floor(choice.scale)) {
    settings.setValue(group + QStringLiteral("/scale"), static_cast<int>(choice.scale));
  } else {
    settings.setValue(group + QStringLiteral("/scale"), QString::number(choice.scale));
  }
  settings.setValue(group + QStringLiteral("/full_screen"),
                    choice.full_screen ? QStringLiteral("true") : QStringLiteral("false"));
  if (choice.fit == FitChoice::kUnchosen) {
    settings.remove(group + QStringLiteral("/fit"));
  } else {
    settings.setValue(group + QStringLiteral("/fit"), choice.fit == FitChoice::kFit
                                                          ? QStringLiteral("true")
                                                          : QStringLiteral("false"));
  }
  settings.sync();
}

}  // namespace qm
