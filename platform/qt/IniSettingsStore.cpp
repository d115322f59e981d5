#include "IniSettingsStore.hpp"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include "IniText.hpp"

namespace quarnel {
namespace {

constexpr std::string_view cIniGroup = "General";

QString ToQString(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

std::optional<std::string> FileText(const std::filesystem::path& path) {
    QFile file(ToQString(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes.toStdString();
}

}  // namespace

IniSettingsStore::IniSettingsStore(std::filesystem::path configHome)
    : configHome_(std::move(configHome)) {}

std::filesystem::path IniSettingsStore::DefaultConfigHome() {
    return QFile::encodeName(
               QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .toStdString();
}

std::filesystem::path IniSettingsStore::FilePath(std::string_view application,
                                                 std::string_view section) const {
    return configHome_ / std::string(application) / (std::string(section) + ".ini");
}

std::optional<std::string> IniSettingsStore::Read(std::string_view application,
                                                  std::string_view section, std::string_view key) {
    const auto text = FileText(FilePath(application, section));
    if (!text) return std::nullopt;
    return IniValue(*text, cIniGroup, key);
}

bool IniSettingsStore::Write(std::string_view application, std::string_view section,
                             std::string_view key, std::string_view value) {
    const auto path = FilePath(application, section);
    const std::string oldText = FileText(path).value_or(std::string());
    const std::string newText = WithIniValue(oldText, cIniGroup, key, value);

    if (!QDir().mkpath(ToQString(path.parent_path()))) return false;
    QSaveFile file(ToQString(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(newText.data(), static_cast<qint64>(newText.size())) !=
        static_cast<qint64>(newText.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace quarnel
