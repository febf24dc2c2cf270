#pragma once
#define IDI_HAND_ICON 1
