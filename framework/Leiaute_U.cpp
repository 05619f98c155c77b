#include "Leiaute_U.h"

#include <charconv>
#include <cstring>

#include "Encoding_U.h"

namespace nFramework {

namespace {

constexpr size_t TamanhoBloco = 1 << 16;

// Bytes of the first `limite` characters of UTF-8 text, and how many characters they are.
size_t PrefixoEmCaracteres(std::string_view v, size_t limite, size_t& caracteres) {
  size_t i = 0;
  caracteres = 0;
  while (i < v.size() && caracteres < limite) {
    unsigned char c = static_cast<unsigned char>(v[i]);
    i += c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    ++caracteres;
  }
  return i < v.size() ? i : v.size();
}

bool SoAscii(std::string_view v) {
  for (char c : v)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

void Acrescentar2(std::string& s, int n) {
  s += static_cast<char>('0' + n / 10 % 10);
  s += static_cast<char>('0' + n % 10);
}

void Acrescentar4(std::string& s, int n) {
  Acrescentar2(s, n / 100);
  Acrescentar2(s, n % 100);
}

}  // namespace

int TLeiaute::Largura() const {
  int w = 0;
  for (const auto& c : Campos) w += c.Largura;
  return w;
}

namespace {

// Writes the amount into `buf` (room for 24 characters) and returns its length.
size_t EscreverValor(char* buf, Currency valor, TFormatoValor formato) {
  // Ten-thousandths to cents, half away from zero; unsigned so that the lowest value has a magnitude.
  int64_t bruto = valor.Raw();
  uint64_t magnitude = bruto < 0 ? uint64_t{0} - static_cast<uint64_t>(bruto) : static_cast<uint64_t>(bruto);
  uint64_t centavos = (magnitude + 50) / 100;
  char* p = buf;
  if (bruto < 0 && centavos != 0) *p++ = '-';
  p = std::to_chars(p, buf + 20, centavos / 100).ptr;
  if (formato == TFormatoValor::Ponto) *p++ = '.';
  if (formato == TFormatoValor::Virgula) *p++ = ',';
  *p++ = static_cast<char>('0' + centavos % 100 / 10);
  *p++ = static_cast<char>('0' + centavos % 10);
  return static_cast<size_t>(p - buf);
}

}  // namespace

void AcrescentarValor(std::string& saida, Currency valor, TFormatoValor formato) {
  char buf[24];
  saida.append(buf, EscreverValor(buf, valor, formato));
}

std::string FormatarValor(Currency valor, TFormatoValor formato) {
  std::string s;
  AcrescentarValor(s, valor, formato);
  return s;
}

ENaoCabe::ENaoCabe(std::string arquivo, std::string registro, std::string conta, std::string campo,
                   std::string valor, int largura, bool negativo)
    : Exception("Arquivo " + arquivo + ", registro " + registro + (conta.empty() ? std::string() : ", conta " + conta) +
                ", campo " + campo + ": o valor \"" + valor + "\"" +
                (negativo ? " é negativo e o campo não tem sinal"
                          : " não cabe em " + std::to_string(largura) + " posições")),
      Arquivo(std::move(arquivo)),
      Registro(std::move(registro)),
      Conta(std::move(conta)),
      Campo(std::move(campo)),
      Valor(std::move(valor)),
      Largura(largura),
      Negativo(negativo) {}

const TCampo& TLinha::Proximo(TTipoCampo tipo) {
  if (FLeiaute == nullptr) throw EInternalError("campo sem linha iniciada no arquivo " + FEscritor.FArquivo);
  if (FCampo >= FLeiaute->Campos.size())
    throw EInternalError(std::string("campo a mais no registro ") + FLeiaute->Nome + " do arquivo " + FEscritor.FArquivo);
  const TCampo& c = FLeiaute->Campos[FCampo++];
  if (tipo != c.Tipo && !(tipo == TTipoCampo::Texto && c.Tipo == TTipoCampo::Numero))
    throw EInternalError(std::string("tipo inesperado para o campo ") + c.Nome + " do registro " + FLeiaute->Nome);
  if (FCampo > 1 && !FLeiaute->Separador.empty()) FEscritor.FBloco += FLeiaute->Separador;
  return c;
}

void TLinha::NaoCabe(const TCampo& campo, std::string_view valor, bool negativo) {
  std::string registro = FLeiaute->Nome;
  std::string conta(FConta);
  FEscritor.FBloco.resize(FInicio);
  FLeiaute = nullptr;
  throw ENaoCabe(FEscritor.FArquivo, std::move(registro), std::move(conta), campo.Nome, std::string(valor),
                 campo.Largura, negativo);
}

// `valor` is already in Windows-1252 (one byte per character) or plain ASCII.
void TLinha::Preencher(const TCampo& campo, std::string_view valor, bool numero) {
  std::string& b = FEscritor.FBloco;
  const size_t largura = static_cast<size_t>(campo.Largura);
  if (largura > 0 && valor.size() > largura) NaoCabe(campo, valor, false);
  const bool fixa = FLeiaute->LarguraFixa();
  if ((!fixa && campo.Preenchimento == '\0') || largura == 0 || valor.size() == largura) {
    b.append(valor);
    return;
  }
  char preenchimento = campo.Preenchimento != '\0' ? campo.Preenchimento : numero ? '0' : ' ';
  bool direita = campo.Alinhamento == TAlinhamento::Direita || (campo.Alinhamento == TAlinhamento::Padrao && numero);
  size_t falta = largura - valor.size();
  if (!direita) {
    b.append(valor);
    b.append(falta, preenchimento);
  } else if (numero && preenchimento == '0' && !valor.empty() && valor.front() == '-') {
    b += '-';  // the sign stays before the zeros
    b.append(falta, '0');
    b.append(valor.substr(1));
  } else {
    b.append(falta, preenchimento);
    b.append(valor);
  }
}

TLinha& TLinha::Texto(std::string_view utf8) {
  const TCampo& c = Proximo(TTipoCampo::Texto);
  if (c.Tipo == TTipoCampo::Numero) {
    NumeroTexto(c, utf8);
    return *this;
  }
  // One pass over the text for both questions: a line break anywhere, and a byte past ASCII.
  unsigned char bits = 0;
  bool quebra = false;
  for (char ch : utf8) {
    bits |= static_cast<unsigned char>(ch);
    quebra |= (ch == '\r') | (ch == '\n');
  }
  if (quebra) {
    FEscritor.FBloco.resize(FInicio);
    FLeiaute = nullptr;
    throw EFileError("Arquivo " + FEscritor.FArquivo + ", campo " + c.Nome + ": o valor \"" + std::string(utf8) +
                     "\" contém quebra de linha");
  }
  if (!FLeiaute->Separador.empty() && utf8.find(FLeiaute->Separador) != std::string_view::npos) {
    std::string registro = FLeiaute->Nome;
    FEscritor.FBloco.resize(FInicio);
    FLeiaute = nullptr;
    throw EFileError("Arquivo " + FEscritor.FArquivo + ", registro " + registro + ", campo " + c.Nome + ": o valor \"" +
                     std::string(utf8) + "\" contém o separador");
  }
  const size_t largura = static_cast<size_t>(c.Largura);
  if (bits < 0x80) {
    // ASCII: a character a byte.
    if (largura > 0 && utf8.size() > largura) {
      if (!c.Corta) NaoCabe(c, utf8, false);
      utf8 = utf8.substr(0, largura);
    }
    Preencher(c, utf8, false);
    return *this;
  }
  std::string_view cabe = utf8;
  if (largura > 0) {
    size_t caracteres;
    size_t bytes = PrefixoEmCaracteres(utf8, largura + 1, caracteres);
    if (caracteres > largura) {
      if (!c.Corta) NaoCabe(c, utf8, false);
      cabe = utf8.substr(0, PrefixoEmCaracteres(utf8, largura, caracteres));
    } else {
      cabe = utf8.substr(0, bytes);
    }
  }
  if (SoAscii(cabe)) {
    Preencher(c, cabe, false);
    return *this;
  }
  std::string convertido;
  try {
    AppendWindows1252(convertido, cabe);
  } catch (const EFileError& e) {
    std::string registro = FLeiaute->Nome;
    FEscritor.FBloco.resize(FInicio);
    FLeiaute = nullptr;
    throw EFileError("Arquivo " + FEscritor.FArquivo + ", registro " + registro + ", campo " + c.Nome + ": " + e.what());
  }
  Preencher(c, convertido, false);
  return *this;
}

TLinha& TLinha::Numero(int64_t valor) {
  const TCampo& c = Proximo(TTipoCampo::Numero);
  char buf[24];
  auto [fim, erro] = std::to_chars(buf, buf + sizeof buf, valor);
  (void)erro;
  std::string_view texto(buf, static_cast<size_t>(fim - buf));
  if (valor < 0 && !c.Sinal) NaoCabe(c, texto, true);
  Preencher(c, texto, true);
  return *this;
}

TLinha& TLinha::Numero(std::string_view digitos) {
  NumeroTexto(Proximo(TTipoCampo::Numero), digitos);
  return *this;
}

void TLinha::NumeroTexto(const TCampo& c, std::string_view digitos) {
  if (!digitos.empty() && digitos.front() == '-' && !c.Sinal) NaoCabe(c, digitos, true);
  if (!SoAscii(digitos)) {
    size_t caracteres;
    PrefixoEmCaracteres(digitos, digitos.size(), caracteres);
    if (c.Largura > 0 && caracteres > static_cast<size_t>(c.Largura)) NaoCabe(c, digitos, false);
    std::string convertido;
    AppendWindows1252(convertido, digitos, c.Nome);
    Preencher(c, convertido, true);
    return;
  }
  Preencher(c, digitos, true);
}

TLinha& TLinha::Data(TDateTime data) {
  int ano, mes, dia;
  DecodeDate(data, ano, mes, dia);
  return Data(ano, mes, dia);
}

TLinha& TLinha::Data(int ano, int mes, int dia) {
  const TCampo& c = Proximo(TTipoCampo::Data);
  std::string t;
  t.reserve(10);
  switch (c.FormatoData) {
    case TFormatoData::AAAAMMDD:
      Acrescentar4(t, ano), Acrescentar2(t, mes), Acrescentar2(t, dia);
      break;
    case TFormatoData::DDMMAAAA:
      Acrescentar2(t, dia), Acrescentar2(t, mes), Acrescentar4(t, ano);
      break;
    case TFormatoData::DD_MM_AAAA:
      Acrescentar2(t, dia), t += '/', Acrescentar2(t, mes), t += '/', Acrescentar4(t, ano);
      break;
    case TFormatoData::AAAA_MM_DD:
      Acrescentar4(t, ano), t += '-', Acrescentar2(t, mes), t += '-', Acrescentar2(t, dia);
      break;
  }
  Preencher(c, t, false);
  return *this;
}

TLinha& TLinha::Valor(Currency valor) {
  const TCampo& c = Proximo(TTipoCampo::Valor);
  char buf[24];
  const std::string_view t(buf, EscreverValor(buf, valor, c.FormatoValor));
  const bool negativo = t.front() == '-' && !c.Sinal;
  if (negativo || (c.Largura > 0 && t.size() > static_cast<size_t>(c.Largura)))
    // The message shows an amount of money, also where the file writes bare hundredths.
    NaoCabe(c, c.FormatoValor == TFormatoValor::Centavos ? FormatarValor(valor, TFormatoValor::Ponto) : std::string(t),
            negativo);
  Preencher(c, t, true);
  return *this;
}

TLinha& TLinha::Vazio() {
  if (FLeiaute == nullptr || FCampo >= FLeiaute->Campos.size())
    throw EInternalError("campo vazio fora do registro no arquivo " + FEscritor.FArquivo);
  const TCampo& c = Proximo(FLeiaute->Campos[FCampo].Tipo);
  if (FLeiaute->LarguraFixa()) FEscritor.FBloco.append(static_cast<size_t>(c.Largura), ' ');
  return *this;
}

void TLinha::Gravar() {
  if (FLeiaute == nullptr) throw EInternalError("linha gravada sem ser iniciada no arquivo " + FEscritor.FArquivo);
  if (FCampo != FLeiaute->Campos.size())
    throw EInternalError(std::string("linha com campos faltando no registro ") + FLeiaute->Nome);
  std::string& b = FEscritor.FBloco;
  if (FLeiaute->LarguraFixa() && b.size() - FInicio != static_cast<size_t>(FLeiaute->Largura()))
    throw EInternalError(std::string("largura errada no registro ") + FLeiaute->Nome);
  if (FLeiaute->SeparadorNoFim) b += FLeiaute->Separador;
  b += "\r\n";
  FLeiaute = nullptr;
  ++FEscritor.FLinhas;
  if (b.size() >= TamanhoBloco) FEscritor.Descarregar();
}

TEscritorLeiaute::TEscritorLeiaute(IOutputSink& saida, std::string arquivo)
    : FSaida(saida), FArquivo(std::move(arquivo)) {
  FBloco.reserve(TamanhoBloco + 1024);
}

TLinha& TEscritorLeiaute::Linha(const TLeiaute& leiaute, std::string_view conta) {
  if (FLinha.FLeiaute != nullptr) FBloco.resize(FLinha.FInicio);  // a line left unfinished by an error
  FLinha.FLeiaute = &leiaute;
  FLinha.FConta = conta;
  FLinha.FCampo = 0;
  FLinha.FInicio = FBloco.size();
  return FLinha;
}

void TEscritorLeiaute::Descarregar() {
  if (FBloco.empty()) return;
  FSaida.Write(FBloco);
  FBytes += FBloco.size();
  FBloco.clear();
}

void TEscritorLeiaute::Concluir() {
  if (FLinha.FLeiaute != nullptr) throw EInternalError("linha não gravada no arquivo " + FArquivo);
  Descarregar();
}

}  // namespace nFramework
