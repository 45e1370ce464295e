#pragma once
// The screen capture's entry in the program's module table (module 15).
#include <memory>

class CQnFormView;

std::unique_ptr<CQnFormView> CreateCaptureView();
