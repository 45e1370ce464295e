#pragma once
// What the system pictures module shows and does, apart from its window: the three targets
// with their pictures and installed flags, reading them from their files and applying one.
#include <array>
#include <memory>
#include <string>

#include "picturetools/syspicture/logo_composition.h"

class CPicture;
class CQnProgress;

enum class SysTarget { Startup = 0, End = 1, Stop = 2 };
inline constexpr int kSysTargetCount = 3;

// What the start-up file holds when there is no picture (no terminator).
inline constexpr char kNoPictureText[] = "Ostrel Quenta v1.0";

// Where each target lives: "c:\logo.sys", "logow.sys" and "logos.sys" in the Windows folder.
struct SysPictureFiles {
    std::array<std::string, kSysTargetCount> paths;
};
SysPictureFiles StandardSysPictureFiles(const std::string& windowsFolder);

struct SysTargetState {
    std::unique_ptr<CPicture> picture; // may be absent
    bool installed = false;            // the picture is what the target file holds
};

enum class ApplyResult {
    PictureWritten,
    TextWritten,  // the start-up target without a picture
    Removed,      // the end or stop target without a picture
    NotWritten,   // the file (or its folder) refused the write: rights, a full disk
    NotRemoved,
    Cancelled,    // the preparation was cancelled; the old file stays
};

struct ApplyOutcome {
    ApplyResult result;
    std::string path;
};

class SysPictureModel {
public:
    explicit SysPictureModel(SysPictureFiles files);
    ~SysPictureModel();

    const std::string& PathOf(int target) const { return m_files.paths[Index(target)]; }
    const SysTargetState& State(int target) const { return m_targets[Index(target)]; }

    // Reads the target's file with the BMP codec; on success the picture is described by
    // `title`, named "System Picture" and marked installed; otherwise the target has none.
    void ReadTarget(int target, const std::string& title, CQnProgress* progress);
    // A loaded or dropped picture; the installed flag clears.
    void ReplacePicture(int target, std::unique_ptr<CPicture> picture);
    void RemovePicture(int target);

    // Writes the target from a copy of its picture (`request.withBar` only counts for the
    // start-up target) and, after a picture was written, reads it back described by `title`.
    ApplyOutcome Apply(int target, LogoRequest request, const std::string& title, CQnProgress* progress);

private:
    static size_t Index(int target);

    SysPictureFiles m_files;
    std::array<SysTargetState, kSysTargetCount> m_targets;
};
