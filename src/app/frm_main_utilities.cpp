// SPDX-License-Identifier: MIT
// The buttons beside the main road. None waits for what it starts.
#include "frm_main.h"
#include "medium/utility_paths.h"

namespace app {

void frmMain::cmd_Accessories_Click()
{
    environment_.shell->openWithDefaultAction(medium::AccessoriesFolder(InstallRoot()));
}

void frmMain::Cmd_clear_Click()
{
    environment_.shell->openWithDefaultAction(medium::CleanUpBatchFile(InstallRoot()));
}

} // namespace app
