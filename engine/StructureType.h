#pragma once

#include <string_view>

namespace tamsor {

// What kind of structure a project is, as the file's tail says it
// ("structure=1" or "structure=2"): it picks the row of the lambda table of
// the cross-wind check and the row of table 8.4.5-1 of the closed form.
enum class StructureType : int {
    Tower = 1,    // 高耸结构: towers, chimneys
    Building = 2, // 高层建筑
};

// "高耸结构" or "高层建筑".
[[nodiscard]] constexpr std::string_view structureTypeCaption(StructureType type) {
    return type == StructureType::Building ? "高层建筑" : "高耸结构";
}

} // namespace tamsor
