// The Windows CE names the program uses that desktop Windows lacks, in one include.
#pragma once

#include "platform/caption_ok_button.h"
#include "platform/ce_styles.h"
#include "platform/command_bands.h"
#include "platform/command_bar.h"
#include "platform/store_information.h"
