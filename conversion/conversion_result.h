// The classification of one conversion's result. The engine alone decides it; each program
// only maps it to its own texts, boxes and exit codes.
#pragma once

enum class ConversionResult {
    Converted,       // the whole picture was written and flushed
    SourceEnded,     // the CAM data ended early: what there was of the picture was written,
                     // with every segment and the end marker
    NoPicture,       // no tag-4 or tag-3 entry, or one without a single byte of picture data
    NotCamFile,      // the header or the directory is not a CAM file's
    UnusableTables,  // the tag-3 head is cut short or does not announce three components
    WriteFailed,     // a write, the flush or the close of the output failed
    OutOfMemory,     // the directory's entries could not be allocated
};

// True for the results whose output is a picture to keep: Converted and SourceEnded (a partial
// picture is all there is of that photo). Any other output is to be thrown away, so that an
// existing file is never replaced by it.
inline bool KeepsOutput(ConversionResult result)
{
    return result == ConversionResult::Converted || result == ConversionResult::SourceEnded;
}
