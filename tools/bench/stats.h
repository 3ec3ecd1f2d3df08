// Summaries of repeated measurements.
#pragma once

#include <algorithm>
#include <optional>
#include <vector>

namespace bench {

// The middle value (the mean of the two middle ones for an even count); none for no values.
inline std::optional<double> median(std::vector<double> values) {
    if (values.empty()) return std::nullopt;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// A/B for each pair where both were measured and B is not zero.
inline std::vector<double> pair_ratios(const std::vector<std::optional<double>>& a,
                                       const std::vector<std::optional<double>>& b) {
    std::vector<double> out;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] && b[i] && *b[i] != 0) out.push_back(*a[i] / *b[i]);
    return out;
}

inline std::vector<double> present(const std::vector<std::optional<double>>& values) {
    std::vector<double> out;
    for (const auto& v : values)
        if (v) out.push_back(*v);
    return out;
}

}  // namespace bench
