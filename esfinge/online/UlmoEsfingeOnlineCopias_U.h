// The JSON copies of the online packages, written before a package goes out so that what was
// sent can be looked at again. They hold the company's accounting: they live in a folder only
// the user can use (esfinge.pasta_copias in ulmo.toml, by default the program's temporary
// folder), as files only the user can read, and are kept esfinge.copias_dias days (30 unless
// told otherwise; 0 keeps them). Old ones are removed when a new one is written: the program
// runs no service of its own, and a copy older than a month is past the month's sending,
// consultation and cancelling.
#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace nUlmoEsfingeOnline {

inline constexpr const char* ChavePastaCopias = "esfinge.pasta_copias";
inline constexpr const char* ChaveDiasCopias = "esfinge.copias_dias";
inline constexpr int PadraoDiasCopias = 30;

// The copies' folder, created or checked as private to the user. Raises EFileError for a folder
// that is a link, another user's, or (when named in ulmo.toml) open to other users.
std::filesystem::path PastaCopias();
// Days a copy is kept; raises for a configured value outside 0 to 3650.
int DiasCopias();
// Removes the copies older than `dias` days (none for 0) and closes the ones kept to other
// users. Only regular files of this user named as copies are touched.
void LimparCopiasAntigas(const std::filesystem::path& pasta, int dias);
// Writes a package's copy, readable by the user alone, after removing the old ones; returns
// its path.
std::string GravarCopiaLote(std::string_view AJson);

}  // namespace nUlmoEsfingeOnline
