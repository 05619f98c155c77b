// Message hygiene: how a message quotes a value that came from a user or from outside (a
// parameter, a register field, a file name, a court's reply), and how a library's failure
// (file system, SQLite, JSON) is said in Portuguese. A message stays one line and readable:
// the library's own English text goes to the debug log (--debug), never into the message.
#pragma once
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace nFramework {

// Characters of a quoted value kept before it is cut.
constexpr size_t MaxCitacao = 80;

// The value as a message quotes it: control characters escaped (\n, \r, \t, \xNN; the C1
// controls as \u0085), bytes that are not UTF-8 as \xNN, and a value of more than MaxCitacao
// characters cut to that length, its last character replaced by "…".
std::string CitarValor(std::string_view valor, size_t max = MaxCitacao);
// The character at a byte position of a text as a message quotes it ("caractere inesperado 'é'"):
// the whole UTF-8 character that starts there, else the lone byte, escaped as CitarValor does.
// REQUIRES: pos < texto.size().
std::string CitarCaractere(std::string_view texto, size_t pos);
// The same for a path; a long one keeps its end, the file's name: "/home/…/saida/arquivo.txt".
// A path the user is to type again (a command to run) is given a larger max.
std::string CitarCaminho(const std::filesystem::path& caminho, size_t max = MaxCitacao);

// What an operating-system error means, in Portuguese: "arquivo ou pasta inexistente".
std::string DescricaoErroSistema(int codigoErrno);
std::string DescricaoErroSistema(const std::error_code& codigo);

// The text a front end shows for an exception that ended a command: a framework exception's
// own message; a file-system error said in Portuguese with its path; a memory shortage; and
// for anything else (a library's or our own bug) a plain "Erro interno". The library's text
// of the last three goes to the debug log.
std::string MensagemDeErro(const std::exception& e);

}  // namespace nFramework
