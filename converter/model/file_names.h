// The names a Workbench workspace and the converter's outputs are made of,
// typed once: every reader, builder and writer takes them from here.
#pragma once

#include <string_view>

inline constexpr std::string_view kProjectFile = ".project";
inline constexpr std::string_view kBuildDescriptionFile = ".wrproject";
// Workbench's own folders inside a workspace and a project: no sources.
inline constexpr std::string_view kMetadataFolder = ".metadata";
inline constexpr std::string_view kSettingsFolder = ".settings";
inline constexpr std::string_view kAnalyserProjectExtension = ".prj";
inline constexpr std::string_view kCompilationDatabaseFile = "compile_commands.json";
