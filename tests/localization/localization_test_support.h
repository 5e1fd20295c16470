#pragma once

#include "../platform/scoped_environment.h"
#include "localization/message_service.h"
#include "localization/translation_sink.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace Brennovar::Zintara::Testing {

/// A document in a heap block of exactly its size, so that the sanitizer sees any read past its
/// end.
class ExactDocument {
public:
    explicit ExactDocument(std::string_view text)
        : size_(text.size()), bytes_(new std::uint8_t[text.size()]) {
        std::copy(text.begin(), text.end(), bytes_.get());
    }
    std::span<const std::uint8_t> span() const { return {bytes_.get(), size_}; }
    const void* data() const { return bytes_.get(); }
    int32 size() const { return static_cast<int32>(size_); }

private:
    std::size_t size_;
    std::unique_ptr<std::uint8_t[]> bytes_;
};

struct RecordingSink : TranslationSink {
    struct Entry {
        std::u16string key;
        std::string language;
        std::u16string text;
        bool operator==(const Entry&) const = default;
    };
    std::vector<std::pair<std::string, std::u16string>> languages;
    std::vector<Entry> entries;

    void addLanguage(std::string_view code, std::u16string_view name) noexcept override {
        languages.emplace_back(code, name);
    }
    ResultCode addString(std::u16string_view key, std::string_view language,
                         std::u16string_view text) noexcept override {
        entries.push_back({std::u16string(key), std::string(language), std::u16string(text)});
        return ResultOk;
    }
};

/// A fresh XDG_CONFIG_HOME; settings files go to its "Brennovar" folder.
class TemporarySettingsFolder {
public:
    TemporarySettingsFolder()
        : root_(makeRoot()), environment_("XDG_CONFIG_HOME", root_.c_str()),
          folder_(root_ / "Brennovar") {
        std::filesystem::create_directories(folder_);
    }
    ~TemporarySettingsFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    const std::filesystem::path& folder() const { return folder_; }
    void write(const std::string& name, std::string_view content) const {
        std::ofstream(folder_ / name, std::ios::binary) << content;
    }

private:
    static std::filesystem::path makeRoot() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zintara-loc-XXXXXX");
        return mkdtemp(pattern.data());
    }

    std::filesystem::path root_;
    ScopedEnvironment environment_;
    std::filesystem::path folder_;
};

/// Collects what goes to the message service while it lives.
class CapturedMessages {
public:
    CapturedMessages()
        : previous_(MessageService::setHandler(
              [this](std::string_view message) { messages.emplace_back(message); })) {}
    ~CapturedMessages() { MessageService::setHandler(std::move(previous_)); }
    std::vector<std::string> messages;

private:
    MessageService::Handler previous_;
};

} // namespace Brennovar::Zintara::Testing
