#include "refhost/validation/validation_check.h"

#include <cmath>

namespace Brennovar::RefHost {

int scaled(int level, int atOne, int atTen) {
    const double step = std::pow(static_cast<double>(atTen) / atOne, 1.0 / 9.0);
    return static_cast<int>(std::lround(atOne * std::pow(step, level - 1)));
}

std::string joined(const std::vector<std::string>& problems) {
    std::string text;
    for (const std::string& problem : problems)
        text += (text.empty() ? "" : "; ") + problem;
    return text;
}

} // namespace Brennovar::RefHost
