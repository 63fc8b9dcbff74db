// Resource IDs of the platform tests' resource script.
#pragma once

#define kTestMenu 10
#define kTestCopyItem 201
#define kTestWindowItem 210
