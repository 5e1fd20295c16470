#pragma once

namespace Brennovar::Zintara {

/// Marks the time in which a controller sets values of its own parameters. A host may report
/// such a setting back to the controller as if the user had made it; what arrives meanwhile is
/// that echo, and the controller ignores it.
class OwnSetting {
public:
    explicit OwnSetting(bool& flag) noexcept : flag_(flag), outer_(flag) { flag_ = true; }
    OwnSetting(const OwnSetting&) = delete;
    OwnSetting& operator=(const OwnSetting&) = delete;
    ~OwnSetting() { flag_ = outer_; }

private:
    bool& flag_;
    bool outer_;
};

} // namespace Brennovar::Zintara
