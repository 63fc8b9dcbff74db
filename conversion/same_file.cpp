// The run's sources by identity, looked up once.
#include "conversion/same_file.h"

bool SameFileCheck::IsSource(const FileIdentity& file)
{
    if (!identified_) {
        identified_ = true;
        for (size_t i = 0; i < sources_.SourceCount(); ++i) {
            FileIdentity identity;
            if (sources_.IdentifySource(i, identity)) identities_.insert(identity);
        }
    }
    return identities_.count(file) != 0;
}
