#pragma once

// Where a drag is, told to the control it passes over.
enum class DragState { Entering, Leaving, Over };
