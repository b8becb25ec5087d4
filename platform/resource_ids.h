/* Ids of the module's own resources; read by C++ and by the resource compiler. */
#pragma once

#define QM_IDS_EDITOR_PROGRAM 65430
