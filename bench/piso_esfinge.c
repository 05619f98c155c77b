/* The e-Sfinge online floor: the JSON package of every month that has entries, as the product
   builds it when every account and entry of its grids is ticked (no previous-year nor opening
   balance rows), from the mapping, origins and histories preloaded and one scan of the period's
   entries. Writes PASTA/AAAAMM.json.
   Usage: piso_esfinge BANCO EMPRESA SISTEMA AAAA-MM-DD AAAA-MM-DD PASTA */
#include "piso.h"

typedef struct {
  char *classif, *descr, *detalhe;
  int ano, tipoTce, tipoConta, natureza;
} TConta;

static void Json(TSaida* s, const char* v) {
  SaidaBytes(s, "\"", 1);
  for (const unsigned char* p = (const unsigned char*)v; *p; ++p) {
    if (*p == '"' || *p == '\\') {
      char e[2] = {'\\', (char)*p};
      SaidaBytes(s, e, 2);
    } else if (*p < 0x20) {
      char e[8];
      const char* curto = *p == '\n' ? "\\n" : *p == '\r' ? "\\r" : *p == '\t' ? "\\t" : *p == '\b' ? "\\b" : *p == '\f' ? "\\f" : NULL;
      if (curto)
        SaidaTexto(s, curto);
      else {
        snprintf(e, sizeof e, "\\u%04x", *p);
        SaidaTexto(s, e);
      }
    } else {
      SaidaBytes(s, (const char*)p, 1);
    }
  }
  SaidaBytes(s, "\"", 1);
}

static void Inteiro(TSaida* s, long long v) {
  char t[32];
  SaidaBytes(s, t, (size_t)snprintf(t, sizeof t, "%lld", v));
}

static void Valor(TSaida* s, long long c) {
  char t[40];
  SaidaBytes(s, t, (size_t)snprintf(t, sizeof t, "\"%s%lld.%02lld\"", c < 0 ? "-" : "", llabs(c) / 100, llabs(c) % 100));
}

/* "1.1.1.1.1.01.00": the levels up to the last that is not all zeros, and its parent written to
   the full mask ("1.1.1.1.1.00.00"). */
static int NiveisSemZero(const char* c) {
  int n = 0, temValor = 0;
  for (;; ++c) {
    if (*c == '.' || !*c) {
      n += temValor;
      temValor = 0;
      if (!*c) break;
    } else if (*c != '0') {
      temValor = 1;
    }
  }
  return n;
}

static void Sintetica(const char* c, char* out) {
  /* the start of each level */
  int ini[32], fim[32], n = 0;
  int i = 0;
  ini[0] = 0;
  for (;; ++i) {
    if (c[i] == '.' || !c[i]) {
      fim[n++] = i;
      if (!c[i]) break;
      ini[n] = i + 1;
    }
  }
  int ultimo = n;
  while (ultimo > 0) {
    int v = 0;
    for (int k = ini[ultimo - 1]; k < fim[ultimo - 1]; ++k) v |= c[k] != '0';
    if (v) break;
    --ultimo;
  }
  if (ultimo <= 1) {
    out[0] = 0;
    return;
  }
  strcpy(out, c);
  for (int k = ini[ultimo - 1]; k < fim[ultimo - 1]; ++k) out[k] = '0';
}

static int CompararTexto(const void* a, const void* b) {
  return strcmp((*(TConta* const*)a)->classif, (*(TConta* const*)b)->classif);
}

int main(int argc, char** argv) {
  const TArgumentosPiso args = LerArgumentosPiso(argc, argv);
  sqlite3* db = args.db;
  int empresa = args.empresa, sistema = args.sistema;
  const char *ini = args.ini, *fim = args.fim, *pasta = args.pasta;

  long long maxConta = 0;
  sqlite3_stmt* st = Preparar(db, "select max(CONTACTB) from PLANOESPEC where CODIGOEMPRESA = ?");
  sqlite3_bind_int(st, 1, empresa);
  if (sqlite3_step(st) == SQLITE_ROW) maxConta = sqlite3_column_int64(st, 0);
  sqlite3_finalize(st);

  /* The analytic court accounts mapped at the period's end, each once. */
  TConta** contas = calloc((size_t)maxConta + 1, sizeof(TConta*));
  TConta** unicas = calloc((size_t)maxConta + 1, sizeof(TConta*));
  int nUnicas = 0;
  st = Preparar(db,
      "select T.CONTACTB, T.DATAINICIOPLANO, T.CODIGOTIPOCONTATCE, TP.DESCRCONTA, T.DESCRDETALHCONTA, TP.CLASSIFCONTA, "
      "T.TIPONATURSALDO, TP.TIPOCONTA from TCEPLANOPLESPEC T join TCEPLANO TP on TP.CODIGOSISTEMATCE = "
      "T.CODIGOSISTEMATCE and TP.CONTATCE = T.CONTATCE where T.CODIGOEMPRESA = ? and T.CODIGOSISTEMATCE = ? and "
      "T.DATAINICIOPLANO <= ? and T.DATAFIMPLANO >= ? order by TP.CLASSIFCONTA, T.CONTACTB");
  sqlite3_bind_int(st, 1, empresa);
  sqlite3_bind_int(st, 2, sistema);
  sqlite3_bind_text(st, 3, fim, -1, SQLITE_STATIC);
  sqlite3_bind_text(st, 4, fim, -1, SQLITE_STATIC);
  while (sqlite3_step(st) == SQLITE_ROW) {
    long long k = sqlite3_column_int64(st, 0);
    if (k < 0 || k > maxConta) continue;
    TConta* c = calloc(1, sizeof(TConta));
    c->ano = atoi((const char*)sqlite3_column_text(st, 1));
    c->tipoTce = sqlite3_column_int(st, 2);
    c->descr = Copia(sqlite3_column_text(st, 3));
    c->detalhe = Copia(sqlite3_column_text(st, 4));
    c->classif = Copia(sqlite3_column_text(st, 5));
    c->natureza = sqlite3_column_int(st, 6);
    c->tipoConta = sqlite3_column_int(st, 7);
    contas[k] = c;
    if (c->tipoConta != 1 && (!nUnicas || strcmp(unicas[nUnicas - 1]->classif, c->classif) != 0 ||
                              unicas[nUnicas - 1]->ano != c->ano))
      unicas[nUnicas++] = c;
  }
  sqlite3_finalize(st);
  qsort(unicas, (size_t)nUnicas, sizeof *unicas, CompararTexto);

  int movim[65536];
  CarregarMovimentos(db, sistema, movim);
  char* hist[PISO_MAX_HIST];
  CarregarHistoricos(db, hist);

  /* One scan; a month's package is written as its entries come (they come by date). */
  st = Preparar(db,
      "select CHAVELCTOCTB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB, CODIGOHISTCTB, COMPLHIST, "
      "CODIGOORIGLCTOCTB from LCTOCTB where CODIGOEMPRESA = ? and DATALCTOCTB between ? and ? "
      "order by DATALCTOCTB, CHAVELCTOCTB");
  sqlite3_bind_int(st, 1, empresa);
  sqlite3_bind_text(st, 2, ini, -1, SQLITE_STATIC);
  sqlite3_bind_text(st, 3, fim, -1, SQLITE_STATIC);
  TSaida s;
  int mes = 0, primeiro = 1;
  long long seq = 0, bytes = 0;
  char histTexto[1024];
  while (sqlite3_step(st) == SQLITE_ROW) {
    const unsigned char* o = sqlite3_column_text(st, 7);
    int m = o ? movim[o[0] << 8 | (o[0] ? o[1] : 0)] : -1;
    int h = sqlite3_column_type(st, 5) == SQLITE_NULL ? -1 : sqlite3_column_int(st, 5);
    if (m < 0 || h < 0 || h >= 4096 || !hist[h]) continue;
    const char* data = (const char*)sqlite3_column_text(st, 1);
    int esteMes = atoi(data) * 100 + atoi(data + 5);
    if (esteMes != mes) {
      if (mes) {
        SaidaTexto(&s, "]}");
        bytes += SaidaFechar(&s);
      }
      mes = esteMes;
      char nome[32];
      snprintf(nome, sizeof nome, "%d.json", mes);
      SaidaAbrir(&s, pasta, nome);
      SaidaTexto(&s, "{\"anoMes\":");
      Inteiro(&s, mes);
      SaidaTexto(&s, ",\"contasContabeis\":[");
      for (int i = 0; i < nUnicas; ++i) {
        TConta* c = unicas[i];
        char sint[256];
        Sintetica(c->classif, sint);
        SaidaTexto(&s, i ? ",{\"anoCriacao\":" : "{\"anoCriacao\":");
        Inteiro(&s, c->ano);
        SaidaTexto(&s, ",\"codigoAgencia\":0,\"codigoBanco\":0,\"codigoConta\":0,\"codigoContaContabil\":");
        Json(&s, c->classif);
        SaidaTexto(&s, ",\"codigoContaSintetica\":");
        Json(&s, sint);
        SaidaTexto(&s, ",\"descricaoConta\":");
        Json(&s, *c->detalhe ? c->detalhe : c->descr);
        SaidaTexto(&s, ",\"indicativoContaAnalitica\":");
        Json(&s, c->tipoConta == 2 ? "S" : "N");
        SaidaTexto(&s, ",\"nomeConta\":");
        Json(&s, c->descr);
        SaidaTexto(&s, ",\"numeroNivel\":");
        Inteiro(&s, NiveisSemZero(c->classif));
        SaidaTexto(&s, ",\"tipoConta\":");
        Inteiro(&s, c->tipoTce);
        SaidaTexto(&s, ",\"tipoNaturezaSaldo\":");
        Inteiro(&s, c->natureza);
        SaidaTexto(&s, "}");
      }
      SaidaTexto(&s, "],\"lancamentosContabeis\":[");
      primeiro = 1;
    }
    long long centavos = Centavos(st, 4);
    const char* compl = sqlite3_column_text(st, 6) ? (const char*)sqlite3_column_text(st, 6) : "";
    const char* a = TextoHistorico(histTexto, sizeof histTexto, hist[h], compl);
    /* the credit side first, as the union of both sides sorts them */
    for (int lado = 0; lado < 2; ++lado) {
      int col = lado == 0 ? 3 : 2;
      if (sqlite3_column_type(st, col) == SQLITE_NULL) continue;
      long long k = sqlite3_column_int64(st, col);
      TConta* c = k >= 0 && k <= maxConta ? contas[k] : NULL;
      if (!c) continue;
      SaidaTexto(&s, primeiro ? "{\"anoCriacao\":" : ",{\"anoCriacao\":");
      primeiro = 0;
      Inteiro(&s, c->ano);
      SaidaTexto(&s, ",\"codigoContaContabil\":");
      Json(&s, c->classif);
      SaidaTexto(&s, ",\"dataLancamento\":\"");
      SaidaBytes(&s, data, 10);
      SaidaTexto(&s, "\",\"historicoLancamento\":");
      Json(&s, a);
      SaidaTexto(&s, ",\"numeroSequencial\":");
      Inteiro(&s, ++seq);
      char slip[16];
      snprintf(slip, sizeof slip, "%d", esteMes);
      SaidaTexto(&s, ",\"numeroSlip\":");
      Json(&s, slip);
      SaidaTexto(&s, ",\"tipoLancamento\":");
      Inteiro(&s, lado == 0 ? 1 : 2);
      SaidaTexto(&s, ",\"tipoMovimentoContabil\":");
      Inteiro(&s, m);
      SaidaTexto(&s, ",\"valorLancamento\":");
      Valor(&s, centavos);
      SaidaTexto(&s, "}");
    }
  }
  sqlite3_finalize(st);
  if (mes) {
    SaidaTexto(&s, "]}");
    bytes += SaidaFechar(&s);
  }
  printf("%lld\n", bytes);
  sqlite3_close(db);
  return 0;
}
