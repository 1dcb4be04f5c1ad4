// SPDX-License-Identifier: MIT
#pragma once
// The members of the CAD host's object model that the program drives:
//   Application.Visible = bool            (put)
//   Application.Documents                 (get) -> Documents
//   Documents.Open(path, readOnly)        -> Document
//   Document.SendCommand(text)
#include <oaidl.h>

namespace fake_autocad {

// A new application object, one reference held by the caller.
IDispatch* NewApplication();

// Opened drawings stay open until the host ends, readable by others but not
// writable, as AutoCAD holds the drawings it has open.
void HoldDrawings(bool hold);

} // namespace fake_autocad
