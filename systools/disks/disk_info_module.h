#pragma once
// The disks module's entry in the program's module table (module 11).
#include <memory>

class CQnFormView;

std::unique_ptr<CQnFormView> CreateDiskInfoView();
