/* The TCE-RS floor: MOVIMENT.txt and BAL_VER.txt as the product writes them over one company
   and period (origin "ZZ" marks the zeroing entries, the default), from the mapping, the
   histories and the opening balances preloaded and one scan of the period's entries.
   Usage: piso_rs BANCO EMPRESA SISTEMA AAAA-MM-DD AAAA-MM-DD PASTA */
#include <time.h>

#include "piso.h"

typedef struct {
  char *classif, *descr; /* of the court account */
  char digitos[32];
  int tipo;
  long long abertura, deb, cred; /* cents, debits positive */
  int usada;
} TConta;

typedef struct {
  char* classif;
  long long conta, anterior, deb, cred, atual;
  int tipo;
  const char* descr;
} TLinhaBal;

static int g_naturGrupo[10], g_tipoGrupo[10];

static void Digitos(const char* v, char* out) {
  int n = 0;
  for (; *v; ++v)
    if (*v >= '0' && *v <= '9') out[n++] = *v;
  out[n] = 0;
}

static void DataBR(TSaida* s, const char* iso) { /* yyyy-mm-dd -> ddmmyyyy */
  char t[8] = {iso[8], iso[9], iso[5], iso[6], iso[0], iso[1], iso[2], iso[3]};
  SaidaBytes(s, t, 8);
}

static void Cabecalho(TSaida* s, const char* cnpj, const char* ini, const char* fim, const char* hoje, const char* nome) {
  CampoTexto(s, cnpj, 14);
  DataBR(s, ini);
  DataBR(s, fim);
  DataBR(s, hoje);
  CampoTexto(s, nome, 80);
  SaidaFim(s);
}

static void Finalizador(TSaida* s, long long n) {
  SaidaTexto(s, "FINALIZADOR");
  CampoNumero(s, n, 10);
  SaidaFim(s);
}

static int Grupo(const char* classif) { return classif[0] >= '1' && classif[0] <= '9' ? classif[0] - '0' : 1; }

static int Niveis(const char* c) {
  if (!*c) return 0;
  int n = 1;
  for (; *c; ++c) n += *c == '.';
  return n;
}

static int CompararBal(const void* a, const void* b) {
  const TLinhaBal* x = a;
  const TLinhaBal* y = b;
  int r = strcmp(x->classif, y->classif);
  if (r) return r;
  if (x->tipo != y->tipo) return x->tipo - y->tipo;
  return (x->conta > y->conta) - (x->conta < y->conta);
}

int main(int argc, char** argv) {
  const TArgumentosPiso args = LerArgumentosPiso(argc, argv);
  sqlite3* db = args.db;
  int empresa = args.empresa, sistema = args.sistema;
  const char *ini = args.ini, *fim = args.fim, *pasta = args.pasta;
  char hoje[16];
  time_t agora = time(NULL);
  strftime(hoje, sizeof hoje, "%Y-%m-%d", localtime(&agora));

  sqlite3_stmt* st = Preparar(db,
      "select E.NOMEEMPRESA, F.INSCRFEDERAL from EMPRESA E join ESTAB F on E.CODIGOEMPRESA = F.CODIGOEMPRESA "
      "where E.CODIGOEMPRESA = ? and F.CODIGOESTAB = 1");
  sqlite3_bind_int(st, 1, empresa);
  char* nome = strdup("");
  char cnpj[64] = "";
  if (sqlite3_step(st) == SQLITE_ROW) {
    nome = Copia(sqlite3_column_text(st, 0));
    Digitos(sqlite3_column_text(st, 1) ? (const char*)sqlite3_column_text(st, 1) : "", cnpj);
  }
  sqlite3_finalize(st);

  st = Preparar(db, "select NATURGRUPO1, NATURGRUPO2, NATURGRUPO3, NATURGRUPO4, NATURGRUPO5, NATURGRUPO6, NATURGRUPO7, "
                    "NATURGRUPO8, NATURGRUPO9, TIPOGRUPO1, TIPOGRUPO2, TIPOGRUPO3, TIPOGRUPO4, TIPOGRUPO5, TIPOGRUPO6, "
                    "TIPOGRUPO7, TIPOGRUPO8, TIPOGRUPO9 from CFGPLANOESPEC where CODIGOEMPRESA = ?");
  sqlite3_bind_int(st, 1, empresa);
  if (sqlite3_step(st) == SQLITE_ROW)
    for (int g = 1; g <= 9; ++g) {
      g_naturGrupo[g] = sqlite3_column_int(st, g - 1);
      g_tipoGrupo[g] = sqlite3_column_int(st, g + 8);
    }
  sqlite3_finalize(st);

  char* hist[PISO_MAX_HIST];
  CarregarHistoricos(db, hist);

  /* The court account of each company account, valid at the period's end. */
  long long maxConta = 0;
  st = Preparar(db, "select max(CONTACTB) from PLANOESPEC where CODIGOEMPRESA = ?");
  sqlite3_bind_int(st, 1, empresa);
  if (sqlite3_step(st) == SQLITE_ROW) maxConta = sqlite3_column_int64(st, 0);
  sqlite3_finalize(st);
  TConta** contas = calloc((size_t)maxConta + 1, sizeof(TConta*));
  st = Preparar(db,
      "select T.CONTACTB, TP.CLASSIFCONTA, TP.TIPOCONTA, COALESCE(T.DESCRDETALHCONTA, TP.DESCRCONTA) from "
      "TCEPLANOPLESPEC T join TCEPLANO TP on T.CODIGOSISTEMATCE = TP.CODIGOSISTEMATCE and T.CONTATCE = TP.CONTATCE "
      "where T.CODIGOSISTEMATCE = ? and T.CODIGOEMPRESA = ? and T.DATAINICIOPLANO <= ? and T.DATAFIMPLANO >= ?");
  sqlite3_bind_int(st, 1, sistema);
  sqlite3_bind_int(st, 2, empresa);
  sqlite3_bind_text(st, 3, fim, -1, SQLITE_STATIC);
  sqlite3_bind_text(st, 4, fim, -1, SQLITE_STATIC);
  while (sqlite3_step(st) == SQLITE_ROW) {
    long long k = sqlite3_column_int64(st, 0);
    if (k < 0 || k > maxConta) continue;
    TConta* c = calloc(1, sizeof(TConta));
    c->classif = Copia(sqlite3_column_text(st, 1));
    Digitos(c->classif, c->digitos);
    c->tipo = sqlite3_column_int(st, 2);
    c->descr = Copia(sqlite3_column_text(st, 3));
    contas[k] = c;
  }
  sqlite3_finalize(st);

  st = Preparar(db, "select CONTACTB, sum(VALORSALDO * NATUREZASALDO) from IMPLSALDOCTB where CODIGOEMPRESA = ? and "
                    "DATASALDO <= ? group by CONTACTB");
  sqlite3_bind_int(st, 1, empresa);
  sqlite3_bind_text(st, 2, ini, -1, SQLITE_STATIC);
  while (sqlite3_step(st) == SQLITE_ROW) {
    long long k = sqlite3_column_int64(st, 0);
    if (k >= 0 && k <= maxConta && contas[k]) contas[k]->abertura = Centavos(st, 1);
  }
  sqlite3_finalize(st);

  /* MOVIMENT.txt: both sides of every entry by key, the debit side first. */
  TSaida s;
  SaidaAbrir(&s, pasta, "MOVIMENT.txt");
  Cabecalho(&s, cnpj, ini, fim, hoje, nome);
  long long linhas = 0;
  st = Preparar(db,
      "select CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB, CODIGOHISTCTB, COMPLHIST, "
      "CODIGOORIGLCTOCTB, CODIGOLOTECTB from LCTOCTB where CODIGOEMPRESA = ? and DATALCTOCTB between ? and ? "
      "order by CHAVELCTOCTB");
  sqlite3_bind_int(st, 1, empresa);
  sqlite3_bind_text(st, 2, ini, -1, SQLITE_STATIC);
  sqlite3_bind_text(st, 3, fim, -1, SQLITE_STATIC);
  char histTexto[1024];
  while (sqlite3_step(st) == SQLITE_ROW) {
    long long chave = sqlite3_column_int64(st, 0);
    const char* data = (const char*)sqlite3_column_text(st, 1);
    long long centavos = Centavos(st, 4);
    int h = sqlite3_column_type(st, 5) == SQLITE_NULL ? -1 : sqlite3_column_int(st, 5);
    const char* compl = sqlite3_column_text(st, 6) ? (const char*)sqlite3_column_text(st, 6) : "";
    const char* origem = sqlite3_column_text(st, 7) ? (const char*)sqlite3_column_text(st, 7) : "";
    long long lote = sqlite3_column_type(st, 8) == SQLITE_NULL ? 0 : sqlite3_column_int64(st, 8);
    histTexto[0] = 0;
    const char* a = h >= 0 && h < PISO_MAX_HIST && hist[h] ? TextoHistorico(histTexto, sizeof histTexto, hist[h], compl)
                                                         : histTexto;
    for (int lado = 0; lado < 2; ++lado) {
      int col = lado == 0 ? 2 : 3;
      if (sqlite3_column_type(st, col) == SQLITE_NULL) continue;
      long long k = sqlite3_column_int64(st, col);
      TConta* c = k >= 0 && k <= maxConta ? contas[k] : NULL;
      if (!c) continue;
      if (lado == 0) c->deb += centavos; else c->cred += centavos;
      c->usada = 1;
      CampoNumeroTexto(&s, c->digitos, 20);
      if (lote != 0)
        CampoNumero(&s, lote, 10);
      else
        CampoNumero(&s, atoi(data) * 100 + atoi(data + 5), 10);
      CampoNumero(&s, chave, 10);
      CampoTexto(&s, "", 10);
      DataBR(&s, data);
      CampoTexto(&s, lado == 0 ? "D" : "C", 8);
      CampoNumero(&s, centavos, 13);
      CampoTexto(&s, a, 180);
      int zera = strcmp(origem, "ZZ") == 0 || g_tipoGrupo[Grupo(c->classif)] == 3;
      CampoTexto(&s, zera ? "S" : "N", 1);
      SaidaFim(&s);
      ++linhas;
    }
  }
  sqlite3_finalize(st);
  Finalizador(&s, linhas);
  long long bytes = SaidaFechar(&s);

  /* BAL_VER.txt: one line per court account, its company accounts summed on their natural side. */
  size_t nBal = 0;
  TLinhaBal* bal = calloc((size_t)maxConta + 1, sizeof(TLinhaBal));
  for (long long k = 0; k <= maxConta; ++k) {
    TConta* c = contas[k];
    if (!c) continue;
    int nat = g_naturGrupo[Grupo(c->classif)];
    long long anterior = c->abertura * nat, atual = (c->abertura + c->deb - c->cred) * nat;
    if (anterior == 0 && c->deb == 0 && c->cred == 0 && atual == 0) continue;
    size_t i = 0;
    while (i < nBal && strcmp(bal[i].classif, c->classif) != 0) ++i;
    if (i == nBal) {
      bal[nBal].classif = c->classif;
      bal[nBal].conta = k;
      bal[nBal].tipo = c->tipo;
      bal[nBal].descr = c->descr;
      ++nBal;
    }
    bal[i].anterior += anterior;
    bal[i].deb += c->deb;
    bal[i].cred += c->cred;
    bal[i].atual += atual;
  }
  qsort(bal, nBal, sizeof *bal, CompararBal);
  SaidaAbrir(&s, pasta, "BAL_VER.txt");
  Cabecalho(&s, cnpj, ini, fim, hoje, nome);
  for (size_t i = 0; i < nBal; ++i) {
    TLinhaBal* b = &bal[i];
    int g = Grupo(b->classif), nat = g_naturGrupo[g];
    long long ant = b->anterior * nat, atu = b->atual * nat; /* debits positive */
    char dig[32];
    Digitos(b->classif, dig);
    CampoNumeroTexto(&s, dig, 20);
    CampoNumero(&s, ant > 0 ? ant : 0, 13);
    CampoNumero(&s, ant < 0 ? -ant : 0, 13);
    CampoNumero(&s, b->deb, 13);
    CampoNumero(&s, b->cred, 13);
    CampoNumero(&s, atu > 0 ? atu : 0, 13);
    CampoNumero(&s, atu < 0 ? -atu : 0, 13);
    CampoTexto(&s, b->descr, 150);
    CampoTexto(&s, b->tipo == 1 ? "S" : "A", 1);
    CampoNumero(&s, Niveis(b->classif), 2);
    CampoTexto(&s, g_tipoGrupo[g] == 3 ? "R" : "P", 1);
    SaidaFim(&s);
  }
  Finalizador(&s, (long long)nBal);
  bytes += SaidaFechar(&s);
  printf("%lld\n", bytes);
  sqlite3_close(db);
  return 0;
}
