#pragma once
// The engine layer in one include.
#include "platform/dao/Database.h"
#include "platform/dao/Engine.h"
#include "platform/dao/Error.h"
#include "platform/dao/Recordset.h"
#include "platform/dao/Schema.h"
#include "platform/dao/Types.h"
