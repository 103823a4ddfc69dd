// The ::DataSpace files that tell readers how the compressed content section is stored: its
// name, its LZX settings, its length and where each 32 KB frame of it starts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace chm {

inline constexpr char kNameListName[] = "::DataSpace/NameList";
inline constexpr char kContentName[] = "::DataSpace/Storage/MSCompressed/Content";
inline constexpr char kControlDataName[] = "::DataSpace/Storage/MSCompressed/ControlData";
inline constexpr char kSpanInfoName[] = "::DataSpace/Storage/MSCompressed/SpanInfo";
inline constexpr char kTransformListName[] = "::DataSpace/Storage/MSCompressed/Transform/List";
inline constexpr char kInstanceDataName[] =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/";
inline constexpr char kResetTableName[] =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";

std::string NameListFile();
std::string TransformListFile();
std::string ControlDataFile(int window_bits, int frames_per_reset);
std::string SpanInfoFile(uint64_t uncompressed_bytes);
// One entry per frame, then the compressed length as the end of the last one.
std::string ResetTableFile(const std::vector<uint64_t>& frame_offsets,
                           uint64_t uncompressed_bytes,
                           uint64_t compressed_bytes);

}  // namespace chm
