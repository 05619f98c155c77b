/* The TCE-SC floor: the same four files as the product's process over one company and period
   (no opening balances, no financial applications), from the mapping and histories preloaded
   and one scan of the period's entries.
   Usage: piso_sc BANCO EMPRESA SISTEMA AAAA-MM-DD AAAA-MM-DD PASTA */
#include "piso.h"

typedef struct {
  long long conta;
  int ano;
  char *classifTce, *tipoConta, *descr, *detalhe, *natureza, *contaTce, *banco, *agencia, *numero, *classif;
  int tipo;
  int inicio, n; /* its postings in g_lanc order */
} TConta;

typedef struct {
  int data; /* yyyymmdd */
  int movim;
  long long centavos;
  int hist;
  const char* compl;
  int deb, cred; /* account indexes, -1 when not mapped */
} TLanc;

static TConta* g_contas;
static int g_nContas;
static int* g_indice; /* CONTACTB -> account index */
static long long g_maxConta;

static int Indice(long long conta) { return conta >= 0 && conta <= g_maxConta ? g_indice[conta] : -1; }

static int Niveis(const char* c) {
  if (!*c) return 0;
  int n = 1;
  for (; *c; ++c) n += *c == '.';
  return n;
}

static int CompararTexto(const void* a, const void* b) { return strcmp(*(char* const*)a, *(char* const*)b); }

static int CompararClassif(const void* a, const void* b) {
  const TConta* x = *(TConta* const*)a;
  const TConta* y = *(TConta* const*)b;
  int r = strcmp(x->classif, y->classif);
  return r ? r : (x->conta > y->conta) - (x->conta < y->conta);
}

static int CompararConta(const void* a, const void* b) {
  const TConta* x = *(TConta* const*)a;
  const TConta* y = *(TConta* const*)b;
  if (x->ano != y->ano) return x->ano - y->ano;
  return (x->conta > y->conta) - (x->conta < y->conta);
}

int main(int argc, char** argv) {
  const TArgumentosPiso args = LerArgumentosPiso(argc, argv);
  sqlite3* db = args.db;
  int empresa = args.empresa, sistema = args.sistema;
  const char *ini = args.ini, *fim = args.fim, *pasta = args.pasta;

  /* The mappings in the order the product goes through them: the same query. */
  sqlite3_stmt* st = Preparar(db,
      "select T.CONTACTB, T.DATAINICIOPLANO, T.CODIGOTIPOCONTATCE, TP.DESCRCONTA, T.DESCRDETALHCONTA, P.TIPOCONTA, "
      "TP.CLASSIFCONTA CLASSIFCONTATCE, T.TIPONATURSALDO, T.CONTATCE, cast ('' as VarChar(50)) CONTASINTETICA, "
      "T.CODIGOBANCO, T.NUMEROAGENCIA, T.NUMEROCONTA, T.DATAFIMPLANO, T.APLICFINANCEIRA, P.DATAHORACADAST, "
      "P.CLASSIFCONTA from TCEPLANO TP join TCEPLANOPLESPEC T on TP.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE and "
      "TP.CONTATCE = T.CONTATCE join PLANOESPEC P on T.CODIGOEMPRESA = P.CODIGOEMPRESA and T.CONTACTB = P.CONTACTB "
      "where T.CODIGOEMPRESA = :pCodigoEmpresa and T.CODIGOSISTEMATCE = :pCodigoSistema and ( (T.DATAINICIOPLANO "
      "between :pDataInicial and :pDataFinal or T.DATAFIMPLANO between :pDataInicial and :pDataFinal) or "
      "(:pDataInicial between T.DATAINICIOPLANO and T.DATAFIMPLANO or :pDataFinal between T.DATAINICIOPLANO and "
      "T.DATAFIMPLANO) ) ");
  sqlite3_bind_int(st, 1, empresa);
  sqlite3_bind_int(st, 2, sistema);
  sqlite3_bind_text(st, 3, ini, -1, SQLITE_STATIC);
  sqlite3_bind_text(st, 4, fim, -1, SQLITE_STATIC);
  int cap = 1024;
  g_contas = malloc(sizeof(TConta) * (size_t)cap);
  while (sqlite3_step(st) == SQLITE_ROW) {
    if (g_nContas == cap) g_contas = realloc(g_contas, sizeof(TConta) * (size_t)(cap *= 2));
    TConta* c = &g_contas[g_nContas++];
    memset(c, 0, sizeof *c);
    c->conta = sqlite3_column_int64(st, 0);
    c->ano = atoi((const char*)sqlite3_column_text(st, 1));
    c->tipoConta = Copia(sqlite3_column_text(st, 2));
    c->descr = Copia(sqlite3_column_text(st, 3));
    c->detalhe = sqlite3_column_type(st, 4) == SQLITE_NULL ? NULL : Copia(sqlite3_column_text(st, 4));
    c->tipo = sqlite3_column_int(st, 5);
    c->classifTce = Copia(sqlite3_column_text(st, 6));
    c->natureza = Copia(sqlite3_column_text(st, 7));
    c->contaTce = Copia(sqlite3_column_text(st, 8));
    c->banco = Copia(sqlite3_column_text(st, 10));
    c->agencia = Copia(sqlite3_column_text(st, 11));
    c->numero = Copia(sqlite3_column_text(st, 12));
    c->classif = Copia(sqlite3_column_text(st, 16));
    if (c->conta > g_maxConta) g_maxConta = c->conta;
  }
  sqlite3_finalize(st);
  g_indice = malloc(sizeof(int) * (size_t)(g_maxConta + 1));
  for (long long i = 0; i <= g_maxConta; ++i) g_indice[i] = -1;
  for (int i = 0; i < g_nContas; ++i) g_indice[g_contas[i].conta] = i;

  /* Movement type of each origin, and the histories. */
  int movim[65536];
  CarregarMovimentos(db, sistema, movim);
  char* hist[PISO_MAX_HIST];
  CarregarHistoricos(db, hist);

  /* One scan of the period's entries. */
  size_t nLanc = 0, capLanc = 1 << 16;
  TLanc* lanc = malloc(sizeof(TLanc) * capLanc);
  st = Preparar(db,
      "select DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB, CODIGOHISTCTB, COMPLHIST, CODIGOORIGLCTOCTB "
      "from LCTOCTB where CODIGOEMPRESA = ? and DATALCTOCTB between ? and ? order by DATALCTOCTB, CHAVELCTOCTB");
  sqlite3_bind_int(st, 1, empresa);
  sqlite3_bind_text(st, 2, ini, -1, SQLITE_STATIC);
  sqlite3_bind_text(st, 3, fim, -1, SQLITE_STATIC);
  while (sqlite3_step(st) == SQLITE_ROW) {
    const unsigned char* o = sqlite3_column_text(st, 6);
    int m = o ? movim[o[0] << 8 | (o[0] ? o[1] : 0)] : -1;
    if (m < 0) continue;
    int deb = sqlite3_column_type(st, 1) == SQLITE_NULL ? -1 : Indice(sqlite3_column_int64(st, 1));
    int cred = sqlite3_column_type(st, 2) == SQLITE_NULL ? -1 : Indice(sqlite3_column_int64(st, 2));
    if (deb < 0 && cred < 0) continue;
    if (nLanc == capLanc) lanc = realloc(lanc, sizeof(TLanc) * (capLanc *= 2));
    TLanc* l = &lanc[nLanc++];
    const char* d = (const char*)sqlite3_column_text(st, 0);
    l->data = atoi(d) * 10000 + atoi(d + 5) * 100 + atoi(d + 8);
    l->movim = m;
    l->centavos = Centavos(st, 3);
    l->hist = sqlite3_column_int(st, 4);
    l->compl = Copia(sqlite3_column_text(st, 5));
    l->deb = deb;
    l->cred = cred;
  }
  sqlite3_finalize(st);

  /* Each account's postings in date order (a counting sort of the scan). */
  for (size_t i = 0; i < nLanc; ++i) {
    if (lanc[i].deb >= 0) g_contas[lanc[i].deb].n++;
    if (lanc[i].cred >= 0) g_contas[lanc[i].cred].n++;
  }
  int total = 0;
  for (int i = 0; i < g_nContas; ++i) {
    g_contas[i].inicio = total;
    total += g_contas[i].n;
    g_contas[i].n = 0;
  }
  int* lado = malloc(sizeof(int) * (size_t)(total + 1)); /* entry index * 2 + (1 for the debit side) */
  for (size_t i = 0; i < nLanc; ++i) {
    if (lanc[i].deb >= 0) { TConta* c = &g_contas[lanc[i].deb]; lado[c->inicio + c->n++] = (int)i * 2 + 1; }
    if (lanc[i].cred >= 0) { TConta* c = &g_contas[lanc[i].cred]; lado[c->inicio + c->n++] = (int)i * 2; }
  }

  /* LancamentoContabil: in the scan's order (date, entry, debit before credit), numbered so. */
  TSaida s;
  SaidaAbrir(&s, pasta, "LancamentoContabil.txt");
  char histTexto[1024];
  long long seq = 0;
  for (size_t i = 0; i < nLanc; ++i) {
    TLanc* l = &lanc[i];
    for (int lado2 = 1; lado2 >= 0; --lado2) {
      int conta = lado2 ? l->deb : l->cred;
      if (conta < 0) continue;
      TConta* c = &g_contas[conta];
      char t[32];
      snprintf(t, sizeof t, "%06d", l->data / 100);
      CampoTexto(&s, t, 16);
      CampoNumero(&s, ++seq, 8);
      CampoNumero(&s, lado2 ? 2 : 1, 2);
      CampoNumero(&s, l->movim, 2);
      CampoNumero(&s, c->ano, 4);
      CampoTexto(&s, c->classifTce, 50);
      CampoNumero(&s, l->data, 8);
      CampoValor(&s, l->centavos, 16);
      const char* h = l->hist >= 0 && l->hist < 4096 && hist[l->hist] ? hist[l->hist] : "";
      if (*l->compl)
        snprintf(histTexto, sizeof histTexto, "%s %s", h, l->compl);
      else
        snprintf(histTexto, sizeof histTexto, "%s", h);
      char* a = histTexto;
      while (*a && (unsigned char)*a <= ' ') ++a;
      size_t n = strlen(a);
      while (n && (unsigned char)a[n - 1] <= ' ') a[--n] = 0;
      CampoTexto(&s, a, 150);
      SaidaFim(&s);
    }
  }
  long long bytes = SaidaFechar(&s);

  /* MovimentoContabil: per account, movement type and competence. */
  TConta** ordem = malloc(sizeof(TConta*) * (size_t)g_nContas);
  for (int i = 0; i < g_nContas; ++i) ordem[i] = &g_contas[i];
  qsort(ordem, (size_t)g_nContas, sizeof *ordem, CompararConta);
  SaidaAbrir(&s, pasta, "MovimentoContabil.txt");
  enum { kMovim = 100, kMeses = 12 * 201 };
  static long long deb[kMovim][kMeses], cred[kMovim][kMeses];
  static char tem[kMovim][kMeses];
  int anoIni = atoi(ini);
  for (int i = 0; i < g_nContas; ++i) {
    TConta* c = ordem[i];
    for (int j = 0; j < c->n; ++j) {
      int k = lado[c->inicio + j];
      TLanc* l = &lanc[k / 2];
      int mes = (l->data / 10000 - anoIni) * 12 + l->data / 100 % 100 - 1;
      tem[l->movim][mes] = 1;
      if (k % 2)
        deb[l->movim][mes] += l->centavos;
      else
        cred[l->movim][mes] += l->centavos;
    }
    for (int m = 0; m < kMovim; ++m)
      for (int mes = 0; mes < kMeses; ++mes) {
        if (!tem[m][mes]) continue;
        CampoNumero(&s, c->ano, 4);
        CampoTexto(&s, c->classifTce, 50);
        CampoNumero(&s, m, 2);
        CampoNumero(&s, (anoIni + mes / 12) * 100 + mes % 12 + 1, 6);
        CampoValor(&s, deb[m][mes], 16);
        CampoValor(&s, cred[m][mes], 16);
        SaidaFim(&s);
        tem[m][mes] = 0;
        deb[m][mes] = cred[m][mes] = 0;
      }
  }
  bytes += SaidaFechar(&s);

  /* AplicacaoFinanceira: not asked for, empty. */
  SaidaAbrir(&s, pasta, "AplicacaoFinanceira.txt");
  bytes += SaidaFechar(&s);

  /* ContaContabil: the mapped accounts by the company's classification, each with the
     synthetic account above it in the company's chart. */
  st = Preparar(db, "select CLASSIFCONTA from PLANOESPEC where CODIGOEMPRESA = ? and TIPOCONTA = 1 order by 1");
  sqlite3_bind_int(st, 1, empresa);
  size_t nSint = 0, capSint = 1024;
  char** sint = malloc(sizeof(char*) * capSint);
  while (sqlite3_step(st) == SQLITE_ROW) {
    if (nSint == capSint) sint = realloc(sint, sizeof(char*) * (capSint *= 2));
    sint[nSint++] = Copia(sqlite3_column_text(st, 0));
  }
  sqlite3_finalize(st);
  for (int i = 0; i < g_nContas; ++i) ordem[i] = &g_contas[i];
  qsort(ordem, (size_t)g_nContas, sizeof *ordem, CompararClassif);
  SaidaAbrir(&s, pasta, "ContaContabil.txt");
  for (int i = 0; i < g_nContas; ++i) {
    TConta* c = ordem[i];
    char superior[256] = "";
    if (Niveis(c->classif) >= 2) {
      char pai[256];
      snprintf(pai, sizeof pai, "%s", c->classif);
      char* p = strrchr(pai, '.');
      if (p) *p = 0;
      const char* alvo = c->classif;
      if (!(c->tipo == 2 && bsearch(&alvo, sint, nSint, sizeof(char*), CompararTexto))) alvo = pai;
      if (alvo == pai && !bsearch(&alvo, sint, nSint, sizeof(char*), CompararTexto)) alvo = "";
      snprintf(superior, sizeof superior, "%s", alvo);
    }
    CampoNumero(&s, c->ano, 4);
    CampoTexto(&s, c->classifTce, 50);
    CampoNumeroTexto(&s, c->tipoConta, 2);
    CampoTexto(&s, c->descr, 100);
    CampoTexto(&s, c->detalhe ? c->detalhe : c->descr, 255);
    CampoTexto(&s, c->tipo == 1 ? "N" : "S", 1);
    CampoNumero(&s, Niveis(c->classifTce), 2);
    CampoNumeroTexto(&s, c->natureza, 2);
    CampoNumeroTexto(&s, c->contaTce, 4);
    CampoTexto(&s, superior, 50);
    CampoNumeroTexto(&s, c->banco, 4);
    CampoNumeroTexto(&s, c->agencia, 6);
    CampoTexto(&s, c->numero, 10);
    SaidaFim(&s);
  }
  bytes += SaidaFechar(&s);
  printf("%lld\n", bytes);
  sqlite3_close(db);
  return 0;
}
