#include "EmpresaGrande_U.h"

#include <map>
#include <string>
#include <vector>

#include "Currency_U.h"
#include "DemoCadastros_U.h"
#include "DemoEmpresa_U.h"
#include "Demo_U.h"
#include "Exceptions_U.h"
#include "Insercao_U.h"
#include "InscricaoFederal_U.h"
#include "PlanoDemo_U.h"
#include "SQL_U.h"
#include "Sorteio_U.h"
#include "TextUtils_U.h"

namespace nHost {

using namespace nFramework;

namespace {

struct TConta {
  int64_t Codigo;
  std::string Classif;
  bool Analitica;
};

std::string Zeros(int64_t n, size_t largura) {
  std::string t = std::to_string(n);
  return t.size() >= largura ? t : std::string(largura - t.size(), '0') + t;
}

// Groups 1 to 4, three subgroups each and three levels below each subgroup; the rest of the
// accounts hang under fourth-level synthetic accounts, about nine analytic accounts to each.
std::vector<TConta> MontarPlano(int contas) {
  const int topo = 4 * (1 + 3 + 9);
  int restantes = contas - topo;
  int quartoNivel = std::max(4, restantes / 10);
  int analiticas = restantes - quartoNivel;
  std::vector<int> porQuarto(static_cast<size_t>(quartoNivel), 0);
  for (int i = 0; i < analiticas; ++i) ++porQuarto[static_cast<size_t>(i % quartoNivel)];

  std::vector<TConta> plano;
  int64_t codigo = 0;
  auto add = [&](std::string classif, bool analitica) { plano.push_back({++codigo, std::move(classif), analitica}); };
  // The level-4 accounts are dealt to the groups in turn and, within a group, to its nine
  // level-3 accounts in turn (the k-th level-3 account in classification order is in group k / 9).
  std::vector<std::vector<int>> quartos(36);
  for (int i = 0; i < quartoNivel; ++i) quartos[static_cast<size_t>((i % 4) * 9 + (i / 4) % 9)].push_back(i);
  int terceiro = 0;
  for (int g = 1; g <= 4; ++g) {
    add(std::to_string(g), false);
    for (int s = 1; s <= 3; ++s) {
      std::string sub = std::to_string(g) + "." + std::to_string(s);
      add(sub, false);
      for (int t = 1; t <= 3; ++t, ++terceiro) {
        std::string ter = sub + "." + std::to_string(t);
        add(ter, false);
        int q = 0;
        for (int i : quartos[static_cast<size_t>(terceiro)]) {
          std::string qua = ter + "." + Zeros(++q, 2);
          add(qua, false);
          for (int a = 1; a <= porQuarto[static_cast<size_t>(i)]; ++a) add(qua + "." + Zeros(a, 4), true);
        }
      }
    }
  }
  return plano;
}

void RemoverEmpresa(int empresa) {
  for (const auto& tabela : TabelasDemo())
    if (ExecutarSQL("select * from " + tabela + " where 1 = 0")->FindField("CODIGOEMPRESA"))
      ExecutarSQLDireto("delete from " + tabela + " where CODIGOEMPRESA = :E", {empresa});
}

int NaturezaGrupo(char grupo) { return (grupo == '1' || grupo == '3') ? 1 : -1; }

class TEmpresaGrande {
 public:
  explicit TEmpresaGrande(const TParamEmpresaGrande& p) : P(p), FSorteio(p.Semente) {}

  void Executar() {
    Cadastros();
    Abertura();
    Lancamentos();
    Encerramento();
  }

 private:
  void Cadastros() {
    int e = P.CodigoEmpresa;
    TInsercao("EMPRESA", "CODIGOEMPRESA, NOMEEMPRESA").Linha({e, "Companhia de Saneamento Integrado " + std::to_string(e) + " S.A."});
    // The address makes the head office a person of the TCE-PR files.
    TInsercao("ESTAB",
              "CODIGOEMPRESA, CODIGOESTAB, NOMEESTAB, NOMEESTABCOMPLETO, TIPOINSCR, INSCRFEDERAL, SIGLAESTADO, "
              "CODIGOTIPOLOGRAD, ENDERECOESTAB, NUMENDERESTAB, BAIRROENDERESTAB, CEPENDERESTAB")
        .Linha({e, 1, "Sede", "Companhia de Saneamento Integrado " + std::to_string(e) + " S.A.", 1,
                GerarCNPJ(80000000u + static_cast<uint32_t>(e)), SiglaSistemaDemo(P.Sistema), 2, "das Indústrias",
                "1500", "Distrito Industrial", "88000-000"});
    TInsercao("CFGPLANOESPEC",
              "CODIGOEMPRESA, NATURGRUPO1, NATURGRUPO2, NATURGRUPO3, NATURGRUPO4, NATURGRUPO5, NATURGRUPO6, NATURGRUPO7, "
              "NATURGRUPO8, NATURGRUPO9, TIPOGRUPO1, TIPOGRUPO2, TIPOGRUPO3, TIPOGRUPO4, TIPOGRUPO5, TIPOGRUPO6, "
              "TIPOGRUPO7, TIPOGRUPO8, TIPOGRUPO9")
        .Linha({e, 1, -1, 1, -1, 1, -1, 1, -1, 1, 1, 1, 3, 3, 2, 2, 2, 2, 2});
    TInsercao("TCESISTEMAEMPRESA", "CODIGOSISTEMATCE, CODIGOEMPRESA").Linha({P.Sistema, e});

    std::map<char, std::vector<int64_t>> contasTCE;  // analytic court accounts by group
    for (const auto& t : PlanoTCEDemo())
      if (t.Analitica) contasTCE[t.Classif[0]].push_back(ContaTCEDemo(t.Classif));

    FPlano = MontarPlano(P.Contas);
    TInsercao conta("PLANOESPEC", "CODIGOEMPRESA, CONTACTB, CLASSIFCONTA, DESCRCONTA, TIPOCONTA, NATURSALDO");
    TInsercao mapa("TCEPLANOPLESPEC",
                   "CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, CODIGOSISTEMATCE, CONTATCE, TIPONATURSALDO, "
                   "APLICFINANCEIRA, TIPOSUPERAVITFINANC, CODIGOTIPOCONTATCE, IDENTIFIPATQUALITATIVA");
    TVariant inicio = TVariant::FromDate(EncodeDate(kAnoDemo, 1, 1)), fim = TVariant::FromDate(EncodeDate(kAnoDemo, 12, 31));
    // TCE-PR has no account types and writes the surplus kind as a digit; it asks instead for the
    // qualitative equity identifier (99: none), as the demo's PR company has it.
    bool pr = P.Sistema == sdPR;
    for (const auto& c : FPlano) {
      char grupo = c.Classif[0];
      int natureza = NaturezaGrupo(grupo);
      conta.Linha({e, static_cast<long long>(c.Codigo), c.Classif,
                   (c.Analitica ? "Conta " : "Grupo ") + c.Classif, c.Analitica ? 2 : 1, natureza});
      if (!c.Analitica) continue;
      FAnaliticas.push_back(c.Codigo);
      const auto& tce = contasTCE[grupo];
      std::string superavit = pr ? (grupo <= '2' ? "2" : "9") : (grupo <= '2' ? "P" : "N");
      mapa.Linha({e, static_cast<long long>(c.Codigo), inicio, fim, P.Sistema,
                  static_cast<long long>(tce[static_cast<size_t>(c.Codigo) % tce.size()]), natureza == 1 ? 1 : 2,
                  pr ? TVariant() : TVariant("0"), superavit, pr ? TVariant() : TVariant(4),
                  pr ? TVariant(99) : TVariant()});
    }
    if (P.Sistema == sdSE) Sagres();
  }

  // Three bank accounts on the first analytic accounts of group 1 and a few rules over the
  // first revenue, expense and asset accounts, so every SAGRES section has lines.
  void Sagres() {
    int e = P.CodigoEmpresa;
    std::map<char, std::vector<int64_t>> porGrupo;
    for (const auto& c : FPlano)
      if (c.Analitica) porGrupo[c.Classif[0]].push_back(c.Codigo);
    // A small chart may have a single analytic account in a group: the rules then share it.
    auto codigo = [&](char grupo, size_t i) { return porGrupo[grupo][i % porGrupo[grupo].size()]; };
    auto conta = [&](char grupo, size_t i) { return std::to_string(codigo(grupo, i)); };
    const int bancos[] = {1, 104, 47};
    TInsercao agencia("AGENCIA", "CODIGOBANCO, NUMEROAGENCIA, NOMEAGENCIA");
    TInsercao contas("TCESESAGRESCONTABANC", "CODIGOEMPRESA, CODIGOBANCO, NUMEROAGENCIA, NUMEROCONTA, CONTACTB");
    for (size_t i = 0; i < 3; ++i) {
      int numero = 9000 + static_cast<int>(i);
      if (!PegarTemRegistro("AGENCIA", "NUMEROAGENCIA",
                            "CODIGOBANCO = " + std::to_string(bancos[i]) + " and NUMEROAGENCIA = " + std::to_string(numero)))
        agencia.Linha({bancos[i], numero, "Agência " + std::to_string(numero)});
      contas.Linha({e, bancos[i], numero, std::to_string(100000 * e + static_cast<int>(i) + 1),
                    static_cast<long long>(codigo('1', i))});
    }
    TInsercao receitas("TCESESAGRESRECEITA", "CODIGOEMPRESA, TIPORECEITA, REGRACALCULOCTB");
    receitas.Linha({e, 5, "CREDITO(" + conta('4', 0) + ") + CREDITO(" + conta('4', 1) + ")"});
    receitas.Linha({e, 90, "DEBITO(" + conta('4', 2) + ")"});
    TInsercao despesas("TCESESAGRESDESPESA", "CODIGOEMPRESA, TIPODESPESA, REGRACALCULOCTB");
    despesas.Linha({e, 10, "DEBITO(" + conta('3', 0) + ") - CREDITO(" + conta('3', 0) + ")"});
    despesas.Linha({e, 13, "DEBITO(" + conta('3', 1) + ") + DEBITO(" + conta('3', 2) + ")"});
    TInsercao patrimonio("TCESESAGRESPATRIMONIO", "CODIGOEMPRESA, TIPOPATRIMONIO, TIPOLANCAMENTO, REGRACALCULOCTB");
    patrimonio.Linha({e, 1, "P", "SALDOATUAL(" + conta('1', 3) + ")"});
    patrimonio.Linha({e, 1, "D", "SALDOATUAL(" + conta('1', 4) + ")"});
  }

  void Abertura() {
    TInsercao abertura("IMPLSALDOCTB", "CODIGOEMPRESA, CODIGOESTAB, CONTACTB, DATASALDO, VALORSALDO, NATUREZASALDO",
                       true);
    TVariant dia = TVariant::FromDate(EncodeDate(kAnoDemo, 1, 1));
    int64_t ativo = 0;
    int64_t ultimoPassivo = 0;
    for (const auto& c : FPlano)
      if (c.Analitica && c.Classif[0] == '1') {
        int64_t v = FSorteio.Inteiro(100000, 50000000);
        ativo += v;
        abertura.Linha({P.CodigoEmpresa, 1, static_cast<long long>(c.Codigo), dia, TVariant(Currency::FromRaw(v * 100)), 1});
      } else if (c.Analitica && c.Classif[0] == '2') {
        ultimoPassivo = c.Codigo;
      }
    // The whole opening equity in one account balances the assets.
    abertura.Linha({P.CodigoEmpresa, 1, static_cast<long long>(ultimoPassivo), dia, TVariant(Currency::FromRaw(ativo * 100)), -1});
    abertura.Concluir();
  }

  // On the embedded engine the entries' indexes are dropped during the load and built again
  // after it, by sorting, which is many times faster than keeping them up to date row by row
  // over random accounts; and the page cache grows for the load, so that the pages being
  // filled are not written out and read back from the log.
  void Lancamentos() {
    if (Conexao().DriverName() == "PostgreSQL") return LancamentosServidor();
    if (Conexao().DriverName() != "SQLite") return GravarLancamentos();
    std::vector<std::string> indices;
    auto ds = ExecutarSQL("select NAME, SQL from SQLITE_MASTER where TYPE = 'index' and TBL_NAME = 'LCTOCTB' and SQL is not null");
    for (ds->First(); !ds->Eof(); ds->Next()) {
      ExecutarSQLDireto("drop index " + ds->Fields(0).AsString());
      indices.push_back(ds->Fields(1).AsString());
    }
    std::string cache = ExecutarSQL("PRAGMA cache_size")->Fields(0).AsString();
    ExecutarSQLDireto("PRAGMA cache_size = -524288");
    try {
      GravarLancamentos();
      for (const auto& sql : indices) ExecutarSQLDireto(sql);
    } catch (...) {
      ExecutarSQLDireto("PRAGMA cache_size = " + cache);
      throw;
    }
    ExecutarSQLDireto("PRAGMA cache_size = " + cache);
  }

  // On a server the entries' secondary indexes and foreign keys are dropped for the load and
  // made again after it, in the same transaction: one sort per index and one join per key
  // instead of a lookup of each per row. Other users wait on the table until the build ends.
  void LancamentosServidor() {
    std::vector<std::string> refazer;
    auto ix = ExecutarSQL("select INDEXNAME, INDEXDEF from PG_INDEXES where SCHEMANAME = current_schema() and "
                          "TABLENAME = 'lctoctb' and INDEXNAME like 'ix%'");
    for (ix->First(); !ix->Eof(); ix->Next()) {
      ExecutarSQLDireto("drop index " + ix->Fields(0).AsString());
      refazer.push_back(ix->Fields(1).AsString());
    }
    auto fk = ExecutarSQL("select CONNAME, pg_get_constraintdef(OID) from PG_CONSTRAINT where CONRELID = "
                          "to_regclass('lctoctb') and CONTYPE = 'f'");
    for (fk->First(); !fk->Eof(); fk->Next()) {
      ExecutarSQLDireto("alter table LCTOCTB drop constraint " + fk->Fields(0).AsString());
      refazer.push_back("alter table LCTOCTB add constraint " + fk->Fields(0).AsString() + " " + fk->Fields(1).AsString());
    }
    GravarLancamentos();
    for (const auto& sql : refazer) ExecutarSQLDireto(sql);
  }

  void GravarLancamentos() {
    const auto& origens = OrigensDemo();
    std::vector<std::string> comuns;
    for (const auto& o : origens)
      if (o != nOrigem::Encerramento) comuns.push_back(o);
    TDateTime inicio = EncodeDate(kAnoDemo, 1, 1);
    int dias = static_cast<int>(EncodeDate(kAnoDemo, 12, 31) - inicio) + 1;
    std::vector<TVariant> datas;  // bound as the text the column keeps, formatted once per day
    for (int d = 0; d < dias; ++d) datas.emplace_back(DateToISO(inicio + d));
    TInsercao lancamento("LCTOCTB",
                         "CODIGOEMPRESA, CHAVELCTOCTB, CODIGOESTAB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB, "
                         "CODIGOHISTCTB, COMPLHIST, CODIGOLOTECTB, CODIGOORIGLCTOCTB",
                         true);
    int64_t n = P.Lancamentos;
    size_t contas = FAnaliticas.size();
    FSaldo.assign(contas, 0);
    for (int64_t i = 0; i < n; ++i) {
      int dia = static_cast<int>(i * dias / n);
      TDateTime data = inicio + dia;
      size_t d = static_cast<size_t>(FSorteio.Inteiro(0, static_cast<int64_t>(contas) - 1));
      size_t c = (d + 1 + static_cast<size_t>(FSorteio.Inteiro(0, static_cast<int64_t>(contas) - 2))) % contas;
      // Mostly small amounts, now and then a large one.
      int64_t centavos = FSorteio.Chance(90) ? FSorteio.Inteiro(1000, 500000) : FSorteio.Inteiro(500000, 20000000);
      size_t o = static_cast<size_t>(FSorteio.Inteiro(0, static_cast<int64_t>(comuns.size()) - 1));
      FSaldo[d] += centavos;
      FSaldo[c] -= centavos;
      lancamento.Linha({P.CodigoEmpresa, static_cast<long long>(i + 1), 1, datas[static_cast<size_t>(dia)],
                        static_cast<long long>(FAnaliticas[d]), static_cast<long long>(FAnaliticas[c]),
                        TVariant(Currency::FromRaw(centavos * 100)), static_cast<int>(FSorteio.Inteiro(1, 43)),
                        "Documento " + std::to_string(i + 1), MonthOf(data) * 100 + static_cast<int>(o) + 1, comuns[o]});
    }
    lancamento.Concluir();
    FProximaChave = n + 1;
  }

  // Every result account's balance moves to the result of the year, as the demo companies close.
  void Encerramento() {
    long long apuracao = 0;
    for (const auto& c : FPlano)
      if (c.Analitica && c.Classif[0] == '2') apuracao = c.Codigo;
    TInsercao lancamento("LCTOCTB",
                         "CODIGOEMPRESA, CHAVELCTOCTB, CODIGOESTAB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB, "
                         "CODIGOHISTCTB, COMPLHIST, CODIGOORIGLCTOCTB");
    TVariant dia = TVariant::FromDate(EncodeDate(kAnoDemo, 12, 31));
    size_t k = 0;
    for (const auto& c : FPlano) {
      if (!c.Analitica) continue;
      int64_t saldo = FSaldo[k++];
      if ((c.Classif[0] != '3' && c.Classif[0] != '4') || saldo == 0) continue;
      long long conta = c.Codigo;
      bool devedor = saldo > 0;
      lancamento.Linha({P.CodigoEmpresa, static_cast<long long>(FProximaChave++), 1, dia, devedor ? apuracao : conta,
                        devedor ? conta : apuracao, TVariant(Currency::FromRaw((devedor ? saldo : -saldo) * 100)),
                        static_cast<int>(hEncerramento), "Encerramento do exercício", nOrigem::Encerramento});
    }
  }

  const TParamEmpresaGrande& P;
  TSorteio FSorteio;
  std::vector<TConta> FPlano;
  std::vector<int64_t> FAnaliticas;
  std::vector<int64_t> FSaldo;  // of each analytic account, in cents, debits positive
  int64_t FProximaChave = 1;
};

}  // namespace

void GerarEmpresaGrande(const TParamEmpresaGrande& param) {
  for (const auto& e : EmpresasDemo())
    if (e.Codigo == param.CodigoEmpresa)
      throw Exception("A empresa " + std::to_string(param.CodigoEmpresa) + " é uma das empresas de demonstração!");
  if (param.CodigoEmpresa < 1 || param.CodigoEmpresa > 32767) throw Exception("Código da empresa inválido!");
  if (param.Contas < 60) throw Exception("Informe ao menos 60 contas para a empresa de teste!");
  if (param.Lancamentos < 1) throw Exception("Informe ao menos um lançamento para a empresa de teste!");
  if (param.Sistema < sdSC || param.Sistema > sdSE) throw Exception("Sistema TCE inválido para a empresa de teste!");
  EmTransacao([&] {
    if (!PegarTemRegistro("TCESISTEMA", "CODIGOSISTEMATCE", "CODIGOSISTEMATCE = " + std::to_string(sdSC)))
      GravarCadastrosDemo();
    RemoverEmpresa(param.CodigoEmpresa);
    TEmpresaGrande(param).Executar();
  });
}

}  // namespace nHost
