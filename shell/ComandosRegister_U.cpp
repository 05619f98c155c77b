#include "ComandosRegister_U.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>

#include "ClassRegistry_U.h"
#include "Classes_U.h"
#include "ComandosCli_U.h"
#include "Contexto_U.h"
#include "DMClientDataSet_U.h"
#include "Dicionario_U.h"
#include "FormatUtils_U.h"
#include "SQL_U.h"
#include "TextoMensagem_U.h"

using namespace nFramework;

namespace {

struct TAtribuicao {
  std::string Campo;
  std::string Valor;
  bool Identifica = false;  // written @CAMPO=valor: picks the row
  bool Selecao = false;     // given by --sistema/--empresa: always a condition, never a change
};

std::vector<TAtribuicao> LerAtribuicoes(const std::vector<std::string>& aCampos) {
  std::vector<TAtribuicao> r;
  for (const auto& a : aCampos) {
    auto igual = a.find('=');
    if (igual == std::string::npos || igual == 0) throw EUso("Use CAMPO=valor, e não \"" + CitarValor(a) + "\"");
    TAtribuicao at{Trim(a.substr(0, igual)), a.substr(igual + 1)};
    if (!at.Campo.empty() && at.Campo[0] == '@') at.Identifica = true, at.Campo.erase(0, 1);
    r.push_back(at);
  }
  return r;
}

std::string Texto(const TField& aField) {
  if (aField.IsNull()) return "";
  if (aField.DataType() == TFieldType::ftDate) return FormatDateTime("dd/mm/yyyy", aField.AsDateTime());
  if (aField.DataType() == TFieldType::ftDateTime) return FormatDateTime("dd/mm/yyyy hh:nn:ss", aField.AsDateTime());
  if (aField.DataType() == TFieldType::ftFloat) return FloatToStr(aField.AsFloat());
  return aField.AsString();
}

// The field's value list "Caption=Value;...": its definition's (or its dictionary entry's), else the field's own.
std::string Lista(TnDMClientDataSet& aReg, const TField& aField) {
  if (TnCampoDef* d = aReg.FindDefinicao(aField.FieldName()); d && !d->Lista.empty()) return d->Lista;
  return aField.ValueList;
}

// What the table shows: a value of a list by its caption, anything else as stored, one row a
// line (control characters escaped, nothing cut).
std::string TextoExibido(TnDMClientDataSet& aReg, const TField& aField) {
  std::string valor = Texto(aField);
  if (std::string lista = Lista(aReg, aField); !lista.empty() && !aField.IsNull())
    for (const auto& [c, v] : ItensLista(lista))
      if (v == valor) return c;
  return CitarValor(valor, std::numeric_limits<size_t>::max());
}

TField& Campo(TnDMClientDataSet& aReg, const std::string& aNome) {
  TField* f = aReg.nClientDataSet().FindField(aNome);
  if (f && !f->IsLookup()) return *f;
  std::string campos;
  for (int i = 0; i < aReg.nClientDataSet().FieldCount(); ++i)
    campos += (i ? ", " : "") + aReg.nClientDataSet().Fields(i).FieldName();
  throw EUso("Campo desconhecido: " + CitarValor(aNome) + ". Campos de " + std::string(aReg.ClassName()) + ": " + campos);
}

// The typed text as the field keeps it: a combo accepts an item's caption; a date dd/mm/yyyy.
void Atribuir(TnDMClientDataSet& aReg, TField& aField, const std::string& aValor) {
  std::string valor = aValor;
  if (std::string lista = Lista(aReg, aField); !lista.empty())
    for (const auto& [c, v] : ItensLista(lista))
      if (SameText(c, valor)) valor = v;
  try {
    if ((aField.DataType() == TFieldType::ftDate || aField.DataType() == TFieldType::ftDateTime) && !Trim(valor).empty())
      aField.SetAsDateTime(StrToDate(valor));
    else
      aField.SetAsString(valor);
  } catch (const EConvertError& e) {
    throw EUso("Valor inválido para o campo " + aField.FieldName() + ": " + e.what());
  }
}

TVariant ValorDigitado(TField& aField, const std::string& aValor) {
  try {
    if (Trim(aValor).empty()) return TVariant();
    switch (aField.DataType()) {
      case TFieldType::ftDate:
      case TFieldType::ftDateTime: return TVariant::FromDate(StrToDate(aValor));
      case TFieldType::ftSmallint:
      case TFieldType::ftInteger:
      case TFieldType::ftLargeint: return TVariant(static_cast<long long>(TVariant(Trim(aValor)).AsInt64()));
      case TFieldType::ftFloat:
      case TFieldType::ftCurrency: return TVariant(TVariant(Trim(aValor)).AsFloat());
      default: return TVariant(aValor);
    }
  } catch (const EConvertError& e) {
    throw EUso("Valor inválido para o campo " + aField.FieldName() + ": " + e.what());
  }
}

std::string Condicao(TnDMClientDataSet& aReg, const std::vector<TAtribuicao>& aAtribuicoes) {
  std::string r;
  for (const auto& a : aAtribuicoes) {
    TField& f = Campo(aReg, a.Campo);
    TVariant v = ValorDigitado(f, a.Valor);
    r += (r.empty() ? "" : " and ") + f.FieldName() + (v.IsNull() ? std::string(" is null") : " = " + ValorParaSQL(v, f.DataType()));
  }
  return r;
}

// The visible fields, and the key fields even when a grid hides them (a work area's master
// gives them there): get, update and delete need them.
std::vector<TField*> CamposListados(TnDMClientDataSet& aReg) {
  TClientDataSet& aDados = aReg.nClientDataSet();
  std::vector<std::string> chave = aReg.CamposChave();
  auto ehChave = [&](const TField& f) {
    return std::any_of(chave.begin(), chave.end(), [&](const std::string& c) { return SameText(c, f.FieldName()); });
  };
  std::vector<TField*> campos;
  for (int i = 0; i < aDados.FieldCount(); ++i)
    if ((aDados.Fields(i).Visible || ehChave(aDados.Fields(i))) && !aDados.Fields(i).IsLookup())
      campos.push_back(&aDados.Fields(i));
  return campos;
}

std::vector<TField*> TodosCampos(TnDMClientDataSet& aReg) {
  std::vector<TField*> campos;
  for (int i = 0; i < aReg.nClientDataSet().FieldCount(); ++i) campos.push_back(&aReg.nClientDataSet().Fields(i));
  return campos;
}

std::string CampoCSV(const std::string& aTexto) {
  if (aTexto.find_first_of(";\"\r\n") == std::string::npos) return aTexto;
  std::string r = "\"";
  for (char c : aTexto) r += c == '"' ? std::string("\"\"") : std::string(1, c);
  return r + "\"";
}

// The raw value for a script: numbers as numbers, money and dates as the text the register takes.
nlohmann::ordered_json ValorJSON(const TField& aField) {
  if (aField.IsNull()) return nullptr;
  switch (aField.DataType()) {
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftLargeint: return aField.AsLargeInt();
    case TFieldType::ftFloat: return aField.AsFloat();
    case TFieldType::ftBoolean: return aField.AsBoolean();
    default: return Texto(aField);
  }
}

// CSV: UTF-8, ';'-separated, the captions first; JSON: the rows as objects by field name.
// Both carry the raw values, a list's value rather than its caption.
void ImprimirFormato(TnDMClientDataSet& aReg, const std::vector<TField*>& aCampos, const std::string& aFormato,
                     bool aUmRegistro, std::ostream& aOut) {
  TClientDataSet& d = aReg.nClientDataSet();
  if (aFormato == "csv") {
    for (size_t i = 0; i < aCampos.size(); ++i) aOut << (i ? ";" : "") << CampoCSV(aCampos[i]->DisplayLabel);
    aOut << "\r\n";
    auto linha = [&] {
      for (size_t i = 0; i < aCampos.size(); ++i) aOut << (i ? ";" : "") << CampoCSV(Texto(*aCampos[i]));
      aOut << "\r\n";
    };
    if (aUmRegistro) linha();
    else
      for (d.First(); !d.Eof(); d.Next()) linha();
    return;
  }
  auto objeto = [&] {
    nlohmann::ordered_json o = nlohmann::ordered_json::object();
    for (TField* f : aCampos) o[f->FieldName()] = ValorJSON(*f);
    return o;
  };
  nlohmann::ordered_json r;
  if (aUmRegistro) r = objeto();
  else {
    r = nlohmann::ordered_json::array();
    for (d.First(); !d.Eof(); d.Next()) r.push_back(objeto());
  }
  aOut << r.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

void ImprimirLinhas(TnDMClientDataSet& aReg, std::ostream& aOut) {
  TClientDataSet& aDados = aReg.nClientDataSet();
  std::vector<TField*> campos = CamposListados(aReg);
  for (size_t i = 0; i < campos.size(); ++i) aOut << (i ? " | " : "") << campos[i]->FieldName();
  aOut << '\n';
  for (aDados.First(); !aDados.Eof(); aDados.Next()) {
    for (size_t i = 0; i < campos.size(); ++i) aOut << (i ? " | " : "") << TextoExibido(aReg, *campos[i]);
    aOut << '\n';
  }
  aOut << "(" << aDados.RecordCount() << " registro(s))\n";
}

void ImprimirRegistro(TnDMClientDataSet& aReg, std::ostream& aOut) {
  TClientDataSet& d = aReg.nClientDataSet();
  for (int i = 0; i < d.FieldCount(); ++i) {
    TField& f = d.Fields(i);
    aOut << f.FieldName();
    if (f.DisplayLabel != f.FieldName()) aOut << " (" << f.DisplayLabel << ")";
    aOut << ": " << TextoExibido(aReg, f);
    if (!Lista(aReg, f).empty() && !f.IsNull() && TextoExibido(aReg, f) != Texto(f))
      aOut << " [" << CitarValor(Texto(f)) << "]";
    aOut << '\n';
  }
  for (const auto& det : aReg.Detalhes()) {
    TField* m = d.FindField(det.CampoMestre);
    aOut << "Detalhe \"" << det.Caption << "\": ulmo register " << det.Classe << " list " << det.CampoDetalhe << '='
         << (m ? Texto(*m) : "") << '\n';
  }
}

// The register's selection keys (--sistema, --empresa) as conditions of every operation and
// values of a new row. A key the selection lacks must be given as a field; one given both ways
// must agree.
void AplicarSelecao(TnDMClientDataSet& aReg, const std::string& aClasse, std::vector<TAtribuicao>& aAtribuicoes) {
  std::vector<std::string> faltam;
  for (const TnChaveSelecao& c : ChavesSelecao(aReg)) {
    auto dado = std::find_if(aAtribuicoes.begin(), aAtribuicoes.end(),
                             [&](const TAtribuicao& a) { return SameText(a.Campo, c.Chave); });
    if (!c.Valor) {
      if (dado == aAtribuicoes.end()) faltam.push_back(c.Chave);
      continue;
    }
    if (!c.Campo) continue;
    std::string valor = VarToStr(*c.Valor);
    if (dado == aAtribuicoes.end()) {
      aAtribuicoes.push_back(TAtribuicao{c.Campo->FieldName(), valor, false, true});
    } else if (Trim(dado->Valor) != valor) {
      throw EUso(dado->Campo + "=" + CitarValor(dado->Valor) + " difere da seleção (" + c.Campo->FieldName() + " = " +
                 valor + ")");
    }
  }
  if (!faltam.empty()) {
    std::string lista;
    for (const auto& f : faltam) lista += (lista.empty() ? "" : ", ") + f;
    throw EUso(aClasse + " exige a seleção de " + lista + " (use --sistema N e/ou --empresa N, ou informe " + lista +
               "=valor)");
  }
}

// The row whose key the assignments give; the key assignments are taken out of the list.
bool Posicionar(TnDMClientDataSet& aReg, std::vector<TAtribuicao>& aAtribuicoes) {
  std::vector<std::string> chave = aReg.CamposChave();
  if (chave.empty()) throw EUso(std::string(aReg.ClassName()) + " não declara chave primária");
  std::vector<TAtribuicao> identificam, resto;
  bool algumaMarcada = std::any_of(aAtribuicoes.begin(), aAtribuicoes.end(), [](const auto& a) { return a.Identifica; });
  for (auto& a : aAtribuicoes) {
    bool ehChave = std::any_of(chave.begin(), chave.end(), [&](const std::string& c) { return SameText(c, a.Campo); });
    bool identifica = a.Selecao || (algumaMarcada ? a.Identifica : ehChave);
    (identifica ? identificam : resto).push_back(a);
  }
  for (const auto& c : chave)
    if (std::none_of(identificam.begin(), identificam.end(), [&](const auto& a) { return SameText(a.Campo, c); }))
      throw EUso("Informe a chave do registro: " + aReg.ChavePrimaria() + " (faltou " + c + ")");
  aAtribuicoes = resto;
  aReg.FetchRegistros(Condicao(aReg, identificam));
  return !aReg.nClientDataSet().IsEmpty();
}

int Gravar(TnDMClientDataSet& aReg, std::ostream& aOut, std::ostream& aErr, const std::string& aFeito) {
  int erros = aReg.ApplyUpdates(0);
  if (erros > 0) {
    for (const auto& e : aReg.ErrosApplyUpdates()) aErr << "Erro: " << e << '\n';
    return csFalha;
  }
  aOut << aFeito << '\n';
  return csSucesso;
}

// The register a name gives, as run takes it; a caption the register shares with its lookup
// (the usual case) names the register.
TAlvo ResolverCadastro(const std::string& aNome, const TnPerModulos& aModulos) {
  try {
    return ResolverAlvo(aNome, aModulos);
  } catch (const EUso&) {
    TnPerModulos todos;
    for (int i = 0; i <= TnPerModulos::MaxModulo; ++i) todos.Incluir(i);
    for (const TnPerModulos& modulos : {aModulos, todos}) {
      TAlvo alvo;
      alvo.Acoes = std::make_shared<TnActionList>();
      nGerarPrincActions(*alvo.Acoes, TNotifyEvent(), modulos);
      std::vector<TnAction*> cadastros;
      for (const auto& a : *alvo.Acoes) {
        if (!SameText(a->Caption, aNome)) continue;
        TnDMPtr<TnDMClientDataSet> r = nComoClasse<TnDMClientDataSet>(nCriarInstancia(nNomeRegistrado(a->Name.substr(3))));
        if (r && r->PegarTipoObjeto() == 1) cadastros.push_back(a.get());
      }
      if (cadastros.size() == 1) {
        alvo.Acao = cadastros[0];
        alvo.Classe = nNomeRegistrado(alvo.Acao->Name.substr(3));
        return alvo;
      }
    }
    throw;
  }
}

}  // namespace

int ComandoRegister(const std::string& aClasse, const std::string& aOperacao, const std::vector<std::string>& aCampos,
                    const std::string& aFormato, const TnPerModulos& aModulos, std::ostream& aOut, std::ostream& aErr) {
  // A class name, an action name or a menu caption, as for run.
  TAlvo alvo = ResolverCadastro(aClasse, aModulos);
  const std::string classe = alvo.Classe;
  TnDMPtr<TnDMClientDataSet> reg = nComoClasse<TnDMClientDataSet>(nCriarInstancia(classe, alvo.Acao));
  if (!reg) throw EUso(classe + " não é um cadastro (para um processo use: ulmo run " + classe + ")");
  if (!aFormato.empty() && aOperacao != "list" && aOperacao != "get")
    throw EUso("--formato vale para list e get, e não para " + aOperacao);
  std::vector<TAtribuicao> atribuicoes = LerAtribuicoes(aCampos);
  reg->ConfigSobDemanda();
  AplicarSelecao(*reg, classe, atribuicoes);
  TClientDataSet& d = reg->nClientDataSet();
  try {
    if (aOperacao == "list") {
      if (atribuicoes.empty()) reg->Abrir();
      else reg->FetchRegistros(Condicao(*reg, atribuicoes));
      if (aFormato.empty()) ImprimirLinhas(*reg, aOut);
      else ImprimirFormato(*reg, CamposListados(*reg), aFormato, false, aOut);
      return csSucesso;
    }
    if (aOperacao == "get") {
      if (!Posicionar(*reg, atribuicoes)) {
        aErr << "Registro não encontrado.\n";
        return csFalha;
      }
      if (!atribuicoes.empty()) throw EUso("get aceita apenas os campos da chave: " + reg->ChavePrimaria());
      if (aFormato.empty()) ImprimirRegistro(*reg, aOut);
      else ImprimirFormato(*reg, TodosCampos(*reg), aFormato, true, aOut);
      return csSucesso;
    }
    if (reg->PegarTipoObjeto() == 2 && (aOperacao == "insert" || aOperacao == "update" || aOperacao == "delete"))
      throw EUso(classe + " é uma consulta: use list ou get" +
                 (reg->CadCons().empty() ? "" : " (para alterar use: ulmo register " + reg->CadCons() + ")"));
    if (aOperacao == "insert") {
      reg->FetchRegistros("1 = 0");
      d.Append();
      for (const auto& a : atribuicoes) Atribuir(*reg, Campo(*reg, a.Campo), a.Valor);
      d.Post();
      return Gravar(*reg, aOut, aErr, "Registro incluído.");
    }
    if (aOperacao == "update" || aOperacao == "delete") {
      if (!Posicionar(*reg, atribuicoes)) {
        aErr << "Registro não encontrado.\n";
        return csFalha;
      }
      if (aOperacao == "delete") {
        if (!atribuicoes.empty()) throw EUso("delete aceita apenas os campos da chave: " + reg->ChavePrimaria());
        d.Delete();
        return Gravar(*reg, aOut, aErr, "Registro excluído.");
      }
      if (atribuicoes.empty()) throw EUso("Informe os campos a alterar (CAMPO=valor)");
      d.Edit();
      for (const auto& a : atribuicoes) Atribuir(*reg, Campo(*reg, a.Campo), a.Valor);
      d.Post();
      return Gravar(*reg, aOut, aErr, "Registro alterado.");
    }
  } catch (const EUso&) {
    d.Cancel();
    throw;
  } catch (const std::exception& e) {
    // The row was refused: nothing was written.
    d.Cancel();
    aErr << "Erro: " << MensagemDeErro(e) << '\n';
    return csFalha;
  }
  throw EUso("Operação desconhecida: " + aOperacao + " (use list, get, insert, update ou delete)");
}
