#pragma once
// A batch conversion run: each source is loaded with LoadPicture and written with one chosen
// codec and depth into an output folder (or to one output file). The pictures translator and
// the qnpic command-line tool both drive it; the caller's observer answers the overwrite
// question, supplies the per-file progress sink and can stop the run.
#include <cstddef>
#include <string>
#include <vector>

class CGraphicsCodec;
class CPicture;
class CQnProgress;

enum class OverwriteAnswer { No, Yes, YesToAll };

enum class ConvertStatus {
    Written,
    SkippedExisting, // the destination exists and the observer said no
    CannotOpen,      // the source cannot be opened
    NotRecognised,   // no codec recognises the source
    LoadFailed,      // recognised, but damaged or of an unsupported kind
    WriteFailed,     // the destination could not be written (an existing file is kept)
};

struct ConvertSettings {
    CGraphicsCodec* codec = nullptr;
    int bits = 0;            // 0 keeps each picture's own depth
    bool writeOption = true; // the codec's write option ("Compress")
    int quality = -1;        // JPEG quality 0..100; negative keeps the codec's setting
    std::string outputFolder;
    std::string outputFile; // when not empty: the one destination (single source)
};

struct ConvertResult {
    std::string source;
    std::string destination;
    ConvertStatus status = ConvertStatus::Written;
    std::string reason; // readable cause of a failure or skip
};

struct BatchSummary {
    std::vector<ConvertResult> results;
    bool cancelled = false;
    bool AnyFailed() const;
};

class CBatchObserver {
public:
    virtual ~CBatchObserver() = default;
    // Before item `index` of `count`; false stops the run.
    virtual bool BeginItem(size_t index, size_t count, const std::string& source);
    // The destination exists and no "all" answer was given yet.
    virtual OverwriteAnswer AskOverwrite(const std::string& destination);
    // Before the write; false stops the run.
    virtual bool BeginSave(const std::string& destination);
    virtual void ItemDone(const ConvertResult& result);
    // Progress sink for one file's load and save; null for none.
    virtual CQnProgress* FileProgress();
};

// folder + the source's file name with its extension replaced by "." and the codec's short name.
std::string DestinationPath(const std::string& folder, const std::string& source, const CGraphicsCodec& codec);

// Creates every missing level of `folder`, outermost first. On failure names the level.
bool CreateFolderLevels(const std::string& folder, std::string* failedLevel = nullptr);

// Writes through a temporary file in the destination's folder and moves it over the
// destination only when the write succeeded, so a failed write never damages an existing file.
// Companion files the codec writes beside the picture (the CUT palette) move with it.
bool WritePictureReplacing(CGraphicsCodec& codec, const std::string& destination, CPicture& picture, int bits,
                           bool option, CQnProgress* progress);

BatchSummary RunBatchConvert(const std::vector<std::string>& sources, const ConvertSettings& settings,
                             CBatchObserver& observer);

const char* StatusText(ConvertStatus status);
