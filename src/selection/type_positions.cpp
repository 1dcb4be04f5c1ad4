// SPDX-License-Identifier: MIT
#include "type_positions.h"

#include <algorithm>
#include <array>

namespace selection {
namespace {

constexpr std::array<TypePositionRow, 60> kRows{{
    {"AXN", {1.0, 2.0}},
    {"TAA", {3.0, 5.0}},
    {"UMO_S", {3.0, 5.0}},
    {"UMO_S_F", {3.0, 5.0}},
    {"UMO_D", {3.0, 5.0}},
    {"UMO_D_F", {3.0, 5.0}},
    {"KKJ", {3.0, 5.0}},
    {"CBV", {3.0, 5.0}},
    {"QRU", {1.2, 5.0}},
    {"VCU", {1.2, 5.0}},
    {"KZH_K", {1.2, 5.0}},
    {"KZH_G", {1.2, 5.0}},
    {"VIE", {2.4, 5.0}},
    {"RAM", {2.4, 5.0}},
    {"IXK", {2.15, 5.0}},
    {"VQV", {2.84, 5.0}},
    {"MCP", {3.95, 5.0}},
    {"SAQ", {3.95, 5.0}},
    {"XKYV", {1.19, 5.0}},
    {"XKYV_F", {1.19, 5.0}},
    {"TQTV", {1.19, 5.0}},
    {"TQTV_F", {1.19, 5.0}},
    {"YQOH", {1.19, 5.0}},
    {"YQOH_C", {1.19, 5.0}},
    {"YQOH_BL", {1.19, 5.0}},
    {"YQOH_F", {1.19, 5.0}},
    {"YQOH_PN", {1.19, 5.0}},
    {"YQOH_BG", {1.19, 5.0}},
    {"YQOH_K", {1.19, 5.0}},
    {"YQOH_G", {1.19, 5.0}},
    {"YQOH_ED", {1.19, 5.0}},
    {"YQOH_QY", {1.19, 5.0}},
    {"ZDW_S", {2.6, 5.0}},
    {"ZDW_S_F", {2.6, 5.0}},
    {"ZQC_N", {2.6, 5.0}},
    {"ZQC_YH", {2.6, 5.0}},
    {"ZQC_HK", {2.6, 5.0}},
    {"FXF_N", {2.6, 5.0}},
    {"FXF_YH", {2.6, 5.0}},
    {"FXF_HK", {2.6, 5.0}},
    {"ZQC_N_G", {2.6, 5.0}},
    {"ZQC_YH_G", {2.6, 5.0}},
    {"ZQC_HK_G", {2.6, 5.0}},
    {"FXF_N_G", {2.6, 5.0}},
    {"FXF_YH_G", {2.6, 5.0}},
    {"FXF_HK_G", {2.6, 5.0}},
    {"DFGO424", {2.6, 5.0}},
    {"SLG", {3.92, 5.0}},
    {"SLG_N", {3.92, 5.0}},
    {"WOE", {2.3, 5.0}},
    {"WOE_C", {2.3, 5.0}},
    {"DSZ", {2.3, 5.0}},
    {"XUF_HK", {2.7, 5.0}},
    {"XUF_HK_G", {2.7, 5.0}},
    {"XUF_NG", {2.7, 5.0}},
    {"XUF_NG_G", {2.7, 5.0}},
    {"VVI_HK", {2.7, 5.0}},
    {"VVI_HK_G", {2.7, 5.0}},
    {"VVI_NG", {2.7, 5.0}},
    {"VVI_NG_G", {2.7, 5.0}},
}};

} // namespace

std::span<const TypePositionRow> TypePositionTable() { return kRows; }

std::optional<TypePosition> LookupTypePosition(const QString& type) {
    const auto row = std::find_if(kRows.begin(), kRows.end(), [&](const TypePositionRow& r) {
        return QLatin1String(r.type.data(), qsizetype(r.type.size())) == type;
    });
    if (row == kRows.end())
        return std::nullopt;
    return row->position;
}

} // namespace selection
