// One conversion from stream to stream: the directory, the picture, and the classification.
#include "conversion/cam_conversion.h"

#include "conversion/jpeg_writer.h"

ConversionResult ConvertCamStream(FILE* cam, FILE* out, CamDirectory& directory)
{
    if (!ReadDirectory(directory, cam)) return DirectoryFailure(directory);
    return WritePicture(directory, cam, out);
}

ConversionResult ConvertCamStream(FILE* cam, FILE* out)
{
    CamDirectory directory;
    return ConvertCamStream(cam, out, directory);
}

ConversionResult DirectoryFailure(const CamDirectory& directory)
{
    return directory.AllocationRefused() ? ConversionResult::OutOfMemory
                                         : ConversionResult::NotCamFile;
}

ConversionResult CloseOutput(FILE* out, ConversionResult result)
{
    const bool closed = fclose(out) == 0;
    return closed || !KeepsOutput(result) ? result : ConversionResult::WriteFailed;
}
