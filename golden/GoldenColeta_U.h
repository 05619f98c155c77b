// What a golden run left in its folder, read back blanked (the rule is in Golden_U.h), and the
// expected files on disk.
#pragma once
#include <filesystem>
#include <map>
#include <string>

#include "Golden_U.h"

namespace nGolden {

// The files by their path inside the folder ('/'-separated).
using TArquivos = std::map<std::string, std::string>;

TArquivos Coletar(const TCaso& caso, const std::filesystem::path& saida);

// Every regular file under the folder by its path inside it.
TArquivos LerPasta(const std::filesystem::path& pasta);
// Replaces the folder's content with the files.
void GravarPasta(const TArquivos& arquivos, const std::filesystem::path& pasta);

}  // namespace nGolden
