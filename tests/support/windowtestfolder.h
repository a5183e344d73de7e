#pragma once

// Header only: for tests that link the shell library.
#include "language.h"
#include "testfolder.h"

namespace zw::test
{

// The start of every window test: Chinese captions (language mode 0, as every run starts) and a
// fresh empty current folder, where the model windows make their databases.
inline std::unique_ptr<QTemporaryDir> enterFreshWindowFolder()
{
    setLanguageMode(0);
    return enterFreshFolder();
}

} // namespace zw::test
