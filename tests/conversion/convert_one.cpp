// A process that converts one CAM file, for the tests that end a conversion midway:
//   convert_one SOURCE OUTPUT_FOLDER
#include <windows.h>

#include "conversion/cam_reader.h"
#include "conversion/win32/convert_file.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) return 2;
    CamDirectory directory;
    return ConvertFile(directory, nullptr, argv[1], argv[2]) == 1 ? 0 : 1;
}
