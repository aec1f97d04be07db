// All helpers of the namespace toolsGui_n in one include.
#pragma once

#include "toolsGui/actionIconSetter.h"
#include "toolsGui/comboTools.h"
#include "toolsGui/pathTools.h"
#include "toolsGui/textTools.h"
#include "toolsGui/waitTools.h"
