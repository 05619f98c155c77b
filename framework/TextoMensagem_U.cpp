#include "TextoMensagem_U.h"

#include <cerrno>
#include <fmt/format.h>
#include <new>
#include <typeinfo>
#include <vector>

#include "Exceptions_U.h"
#include "Utilitarios_U.h"

namespace nFramework {

namespace {

// Length of the well-formed UTF-8 character at pos, 0 when the bytes there are not one.
size_t CaractereUtf8(std::string_view s, size_t pos) {
  auto b = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char c = b(pos);
  size_t len;
  unsigned char min2 = 0x80, max2 = 0xBF;
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) len = 2;
  else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    if (c == 0xE0) min2 = 0xA0;
    if (c == 0xED) max2 = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    if (c == 0xF0) min2 = 0x90;
    if (c == 0xF4) max2 = 0x8F;
  } else
    return 0;
  if (pos + len > s.size()) return 0;
  if (b(pos + 1) < min2 || b(pos + 1) > max2) return 0;
  for (size_t i = 2; i < len; ++i)
    if (b(pos + i) < 0x80 || b(pos + i) > 0xBF) return 0;
  return len;
}

// The value as the characters a message shows, each escape one unit.
std::vector<std::string> Unidades(std::string_view s) {
  std::vector<std::string> r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t len = CaractereUtf8(s, i);
    if (len == 0) {
      r.push_back(fmt::format("\\x{:02X}", c));
      ++i;
      continue;
    }
    if (len == 1 && (c < 0x20 || c == 0x7F)) {
      r.push_back(c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : fmt::format("\\x{:02X}", c));
    } else if (len == 2 && c == 0xC2 && static_cast<unsigned char>(s[i + 1]) < 0xA0) {
      r.push_back(fmt::format("\\u{:04X}", static_cast<unsigned char>(s[i + 1])));  // a C1 control
    } else {
      r.emplace_back(s.substr(i, len));
    }
    i += len;
  }
  return r;
}

// Characters a unit shows: an escape is ASCII, anything else one character.
size_t Largura(const std::string& u) { return u.size() > 1 && u[0] == '\\' ? u.size() : 1; }

size_t Largura(const std::vector<std::string>& u) {
  size_t n = 0;
  for (const auto& x : u) n += Largura(x);
  return n;
}

// The first units that show at most `max` characters.
std::string Inicio(const std::vector<std::string>& u, size_t max) {
  std::string r;
  size_t n = 0;
  for (const auto& x : u) {
    if (n + Largura(x) > max) break;
    n += Largura(x);
    r += x;
  }
  return r;
}

// The last units that show at most `max` characters.
std::string Fim(const std::vector<std::string>& u, size_t max) {
  size_t n = 0, i = u.size();
  while (i > 0 && n + Largura(u[i - 1]) <= max) n += Largura(u[--i]);
  std::string r;
  for (; i < u.size(); ++i) r += u[i];
  return r;
}

}  // namespace

std::string CitarCaractere(std::string_view texto, size_t pos) {
  const unsigned char c = static_cast<unsigned char>(texto[pos]);
  size_t n = c >= 0xC2 && c <= 0xF4 ? (c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4) : 1;
  if (pos + n > texto.size()) n = 1;
  for (size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(texto[pos + k]) & 0xC0) != 0x80) n = 1;
  return CitarValor(texto.substr(pos, n));
}

std::string CitarValor(std::string_view valor, size_t max) {
  // A unit takes at most 4 bytes, so the first max + 1 units lie within these bytes and the
  // rest of a long value (a whole reply) never needs looking at.
  if (max < valor.size() / 4) valor = valor.substr(0, (max + 1) * 4);
  std::vector<std::string> u = Unidades(valor);
  if (Largura(u) <= max) return Inicio(u, max);
  return Inicio(u, max - 1) + "…";
}

std::string CitarCaminho(const std::filesystem::path& caminho, size_t max) {
  std::vector<std::string> u = Unidades(caminho.native());
  if (Largura(u) <= max) return Inicio(u, max);
  const size_t inicio = max / 4;
  return Inicio(u, inicio) + "…" + Fim(u, max - inicio - 1);
}

std::string DescricaoErroSistema(int codigoErrno) {
  switch (codigoErrno) {
    case 0: return "erro desconhecido";
    case ENOENT: return "arquivo ou pasta inexistente";
    case ENOTDIR: return "uma parte do caminho não é uma pasta";
    case EISDIR: return "é uma pasta, não um arquivo";
    case EACCES:
    case EPERM: return "permissão negada";
    case EEXIST: return "já existe";
    case ENOTEMPTY: return "a pasta não está vazia";
    case ENOSPC: return "disco cheio";
    case EDQUOT: return "cota de disco esgotada";
    case EROFS: return "o disco é somente leitura";
    case ENAMETOOLONG: return "nome longo demais";
    case ELOOP: return "atalhos (links) em ciclo no caminho";
    case EMFILE:
    case ENFILE: return "arquivos abertos demais";
    case EIO: return "erro de leitura ou gravação no disco";
    case EXDEV: return "origem e destino em discos diferentes";
    case EBUSY:
    case ETXTBSY: return "em uso por outro programa";
    case EINVAL: return "nome ou operação inválida";
    case ENOMEM: return "memória insuficiente";
    case EFBIG: return "arquivo grande demais";
    case ENODEV:
    case ENXIO: return "dispositivo inexistente";
    default: return fmt::format("erro do sistema número {}", codigoErrno);
  }
}

std::string DescricaoErroSistema(const std::error_code& codigo) {
  if (codigo.category() == std::generic_category() || codigo.category() == std::system_category())
    return DescricaoErroSistema(codigo.value());
  return fmt::format("erro número {}", codigo.value());
}

std::string MensagemDeErro(const std::exception& e) {
  if (dynamic_cast<const Exception*>(&e)) return e.what();
  if (const auto* f = dynamic_cast<const std::filesystem::filesystem_error*>(&e)) {
    LogDebug(f->what());
    std::string motivo = DescricaoErroSistema(f->code());
    if (!f->path2().empty())
      return fmt::format("Erro com os arquivos \"{}\" e \"{}\": {}", CitarCaminho(f->path1()), CitarCaminho(f->path2()),
                         motivo);
    if (!f->path1().empty()) return fmt::format("Erro no arquivo \"{}\": {}", CitarCaminho(f->path1()), motivo);
    return "Erro de arquivo: " + motivo;
  }
  if (dynamic_cast<const std::bad_alloc*>(&e)) return "Memória insuficiente para concluir a operação.";
  if (const auto* s = dynamic_cast<const std::system_error*>(&e)) {
    LogDebug(s->what());
    return "Erro do sistema: " + DescricaoErroSistema(s->code());
  }
  LogDebug(fmt::format("{}: {}", typeid(e).name(), e.what()));
  return "Erro interno inesperado (os detalhes aparecem com --debug).";
}

}  // namespace nFramework
