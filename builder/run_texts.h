// The texts the Convert & Generate run shows.
#pragma once

inline constexpr char kWaitingText[] = "请稍候—文件正在生成中......";
inline constexpr char kFinishedText[] = "生成完毕,文件生成在自动创建目录下的后涰名chm的文件";
inline constexpr char kNoPagesMessage[] = "加载文件后再转换吧!:)";
inline constexpr char kNoPagesTitle[] = "提示:)";
inline constexpr char kExistsSuffix[] = "_目录已存在！";
inline constexpr char kSucceededSuffix[] = "_成功";
inline constexpr char kFailedSuffix[] = "_失败";
inline constexpr int kPieceUnits = 100;
