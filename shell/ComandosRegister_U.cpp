#include "ComandosRegister_U.h"

#include <algorithm>
#include <memory>
#include <ostream>

#include "ClassRegistry_U.h"
#include "Classes_U.h"
#include "ComandosCli_U.h"
#include "DMClientDataSet_U.h"
#include "Dicionario_U.h"
#include "FormatUtils_U.h"
#include "SQL_U.h"

using namespace nFramework;

namespace {

struct TAtribuicao {
  std::string Campo;
  std::string Valor;
  bool Identifica = false;  // written @CAMPO=valor: picks the row
};

std::vector<TAtribuicao> LerAtribuicoes(const std::vector<std::string>& aCampos) {
  std::vector<TAtribuicao> r;
  for (const auto& a : aCampos) {
    auto igual = a.find('=');
    if (igual == std::string::npos || igual == 0) throw EUso("Use CAMPO=valor, e não \"" + a + "\"");
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

TField& Campo(TnDMClientDataSet& aReg, const std::string& aNome) {
  TField* f = aReg.nClientDataSet().FindField(aNome);
  if (f && !f->IsLookup()) return *f;
  std::string campos;
  for (int i = 0; i < aReg.nClientDataSet().FieldCount(); ++i)
    campos += (i ? ", " : "") + aReg.nClientDataSet().Fields(i).FieldName();
  throw EUso("Campo desconhecido: " + aNome + ". Campos de " + std::string(aReg.ClassName()) + ": " + campos);
}

// The typed text as the field keeps it: a combo accepts an item's caption; a date dd/mm/yyyy.
void Atribuir(TnDMClientDataSet& aReg, TField& aField, const std::string& aValor) {
  std::string valor = aValor;
  if (TnCampoDef* d = aReg.FindDefinicao(aField.FieldName()); d && !d->Lista.empty())
    for (const auto& [c, v] : ItensLista(d->Lista))
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
void ImprimirLinhas(TnDMClientDataSet& aReg, std::ostream& aOut) {
  TClientDataSet& aDados = aReg.nClientDataSet();
  std::vector<std::string> chave = aReg.CamposChave();
  auto ehChave = [&](const TField& f) {
    return std::any_of(chave.begin(), chave.end(), [&](const std::string& c) { return SameText(c, f.FieldName()); });
  };
  std::vector<TField*> campos;
  for (int i = 0; i < aDados.FieldCount(); ++i)
    if ((aDados.Fields(i).Visible || ehChave(aDados.Fields(i))) && !aDados.Fields(i).IsLookup())
      campos.push_back(&aDados.Fields(i));
  for (size_t i = 0; i < campos.size(); ++i) aOut << (i ? " | " : "") << campos[i]->FieldName();
  aOut << '\n';
  for (aDados.First(); !aDados.Eof(); aDados.Next()) {
    for (size_t i = 0; i < campos.size(); ++i) aOut << (i ? " | " : "") << Texto(*campos[i]);
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
    aOut << ": " << Texto(f) << '\n';
  }
  for (const auto& det : aReg.Detalhes()) {
    TField* m = d.FindField(det.CampoMestre);
    aOut << "Detalhe \"" << det.Caption << "\": ulmo register " << det.Classe << " list " << det.CampoDetalhe << '='
         << (m ? Texto(*m) : "") << '\n';
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
    bool identifica = algumaMarcada ? a.Identifica : ehChave;
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

}  // namespace

int ComandoRegister(const std::string& aClasse, const std::string& aOperacao, const std::vector<std::string>& aCampos,
                    std::ostream& aOut, std::ostream& aErr) {
  std::string classe = nNomeRegistrado(aClasse);
  if (classe.empty()) {
    std::string proximos;
    for (const auto& n : NomesProximos(aClasse)) proximos += (proximos.empty() ? "" : ", ") + n;
    throw EUso("Classe desconhecida: " + aClasse + (proximos.empty() ? "" : ". Nomes próximos: " + proximos));
  }
  TnDMPtr<TnDMClientDataSet> reg = nComoClasse<TnDMClientDataSet>(nCriarInstancia(classe));
  if (!reg) throw EUso(classe + " não é um cadastro (para um processo use: ulmo run " + classe + ")");
  std::vector<TAtribuicao> atribuicoes = LerAtribuicoes(aCampos);
  reg->ConfigSobDemanda();
  TClientDataSet& d = reg->nClientDataSet();
  try {
    if (aOperacao == "list") {
      if (atribuicoes.empty()) reg->Abrir();
      else reg->FetchRegistros(Condicao(*reg, atribuicoes));
      ImprimirLinhas(*reg, aOut);
      return csSucesso;
    }
    if (aOperacao == "get") {
      if (!Posicionar(*reg, atribuicoes)) {
        aErr << "Registro não encontrado.\n";
        return csFalha;
      }
      if (!atribuicoes.empty()) throw EUso("get aceita apenas os campos da chave: " + reg->ChavePrimaria());
      ImprimirRegistro(*reg, aOut);
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
    aErr << "Erro: " << e.what() << '\n';
    return csFalha;
  }
  throw EUso("Operação desconhecida: " + aOperacao + " (use list, get, insert, update ou delete)");
}
