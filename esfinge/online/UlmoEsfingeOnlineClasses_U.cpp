#include "UlmoEsfingeOnlineClasses_U.h"

#include <nlohmann/json.hpp>

namespace nUlmoEsfingeOnline {

using TJson = nlohmann::ordered_json;

namespace {

// Texts that are not valid UTF-8 are sent with the invalid bytes replaced, not refused.
std::string Serializar(const TJson& j) { return j.dump(-1, ' ', false, TJson::error_handler_t::replace); }

void Inteiro(std::string& s, long long v) {
  char t[24];
  char* p = t + sizeof t;
  const bool negativo = v < 0;
  unsigned long long u = negativo ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
  do {
    *--p = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u);
  if (negativo) *--p = '-';
  s.append(p, static_cast<size_t>(t + sizeof t - p));
}

// Appends the text before a value: the punctuation and the quoted key, then the colon.
void Chave(std::string& s, const char* antes, const char* chave) {
  s += antes;
  s += '"';
  s += chave;
  s += "\":";
}

}  // namespace

void EscreverTextoJson(std::string& s, std::string_view v) {
  // ASCII is escaped here as nlohmann does; anything else goes through nlohmann itself, whose
  // handling of invalid UTF-8 is what the court has always received.
  for (unsigned char c : v)
    if (c >= 0x80) {
      s += Serializar(TJson(std::string(v)));
      return;
    }
  static const char* const kHex = "0123456789abcdef";
  s += '"';
  size_t limpo = 0;
  for (size_t i = 0; i < v.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(v[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    s.append(v.data() + limpo, i - limpo);
    limpo = i + 1;
    switch (c) {
      case '"': s += "\\\""; break;
      case '\\': s += "\\\\"; break;
      case '\b': s += "\\b"; break;
      case '\f': s += "\\f"; break;
      case '\n': s += "\\n"; break;
      case '\r': s += "\\r"; break;
      case '\t': s += "\\t"; break;
      default:
        s += "\\u00";
        s += kHex[c >> 4];
        s += kHex[c & 15];
    }
  }
  s.append(v.data() + limpo, v.size() - limpo);
  s += '"';
}

void EscreverJson(std::string& s, const TContaContabil& c) {
  Chave(s, "{", "anoCriacao");
  Inteiro(s, c.FAnoCriacao);
  Chave(s, ",", "codigoAgencia");
  Inteiro(s, c.FCodigoAgencia);
  Chave(s, ",", "codigoBanco");
  Inteiro(s, c.FCodigoBanco);
  Chave(s, ",", "codigoConta");
  Inteiro(s, c.FCodigoConta);
  Chave(s, ",", "codigoContaContabil");
  EscreverTextoJson(s, c.FCodigoContaContabil);
  Chave(s, ",", "codigoContaSintetica");
  EscreverTextoJson(s, c.FCodigoContaSintetica);
  Chave(s, ",", "descricaoConta");
  EscreverTextoJson(s, c.FDescricaoConta);
  Chave(s, ",", "indicativoContaAnalitica");
  EscreverTextoJson(s, c.FIndicativoContaAnalitica);
  Chave(s, ",", "nomeConta");
  EscreverTextoJson(s, c.FNomeConta);
  Chave(s, ",", "numeroNivel");
  Inteiro(s, c.FNumeroNivel);
  Chave(s, ",", "tipoConta");
  Inteiro(s, c.FTipoConta);
  Chave(s, ",", "tipoNaturezaSaldo");
  Inteiro(s, c.FTipoNaturezaSaldo);
  s += '}';
}

void EscreverJson(std::string& s, const TLancamentoContabil& l) {
  Chave(s, "{", "anoCriacao");
  Inteiro(s, l.FAnoCriacao);
  Chave(s, ",", "codigoContaContabil");
  EscreverTextoJson(s, l.FCodigoContaContabil);
  Chave(s, ",", "dataLancamento");
  EscreverTextoJson(s, l.FDataLancamento);
  Chave(s, ",", "historicoLancamento");
  EscreverTextoJson(s, l.FHistoricoLancamento);
  Chave(s, ",", "numeroSequencial");
  Inteiro(s, l.FNumeroSequencial);
  Chave(s, ",", "numeroSlip");
  EscreverTextoJson(s, l.FNumeroSlip);
  Chave(s, ",", "tipoLancamento");
  Inteiro(s, l.FTipoLancamento);
  Chave(s, ",", "tipoMovimentoContabil");
  Inteiro(s, l.FTipoMovimentoContabil);
  Chave(s, ",", "valorLancamento");
  EscreverTextoJson(s, l.FValorLancamento);
  s += '}';
}

TEscritorLote::TEscritorLote(std::string& saida, int anoMes, std::string_view contasJson, int quantidadeContas)
    : FSaida(saida), FContas(quantidadeContas) {
  Chave(FSaida, "{", "anoMes");
  Inteiro(FSaida, anoMes);
  Chave(FSaida, ",", "contasContabeis");
  FSaida += '[';
  FSaida += contasJson;
  Chave(FSaida, "],", "lancamentosContabeis");
  FSaida += '[';
}

void TEscritorLote::Lancamento(const TLancamentoContabil& l) {
  if (FLancamentos++) FSaida += ',';
  EscreverJson(FSaida, l);
}

void TEscritorLote::Fechar() { FSaida += "]}"; }

std::string ObjectToJsonString(const TContaContabil& AObj) {
  std::string s;
  EscreverJson(s, AObj);
  return s;
}

std::string ObjectToJsonString(const TLancamentoContabil& AObj) {
  std::string s;
  EscreverJson(s, AObj);
  return s;
}

std::string ObjectToJsonString(const TEnvioLote& AObj) {
  std::string contas;
  for (size_t i = 0; i < AObj.FContasContabeis.size(); ++i) {
    if (i) contas += ',';
    EscreverJson(contas, AObj.FContasContabeis[i]);
  }
  std::string s;
  TEscritorLote lote(s, AObj.FAnoMes, contas, static_cast<int>(AObj.FContasContabeis.size()));
  for (const auto& l : AObj.FLancamentosContabeis) lote.Lancamento(l);
  lote.Fechar();
  return s;
}

std::string ObjectToJsonString(const TFinalizaEnvioJson& AObj) {
  TJson j;
  j["chavePacote"] = AObj.FChavePacote;
  j["quantidadeContaContabil"] = AObj.FQuantidadeContaContabil;
  j["quantidadeLancamentoContabil"] = AObj.FQuantidadeLancamentoContabil;
  return Serializar(j);
}

std::string ObjectToJsonString(const TCancelarEnvioJson& AObj) {
  TJson j;
  j["codigoRegistro"] = AObj.FCodigoRegistro;
  j["justificativa"] = AObj.FJustificativa;
  return Serializar(j);
}

}  // namespace nUlmoEsfingeOnline
