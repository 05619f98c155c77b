// Renders the grid view offscreen for review by eye, over sample rows built in memory (no
// database): the entries of a send grouped by slip and date under their bands, some ticked;
// the court accounts with their synthetic rows highlighted; a refused edit's notice.
#pragma once
#include <filesystem>
#include <vector>

namespace nDesktop {

// Writes "visao-lancamentos.png", "visao-contas.png" and "visao-recusa.png" into aPasta
// (created when missing) and returns them. REQUIRES: a QApplication.
std::vector<std::filesystem::path> CapturarTelasVisao(const std::filesystem::path& aPasta);

}  // namespace nDesktop
