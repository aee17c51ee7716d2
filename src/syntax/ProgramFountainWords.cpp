// The built-in word lists of the LISP fountain: the dialect's function names
// and common system variables. The word files beside the program replace
// them at start-up.
#include "syntax/ProgramFountains.h"

namespace quodle {

const std::vector<std::string>& DesignReserveWords2() {
    static const std::vector<std::string> words = {
        "ANGBASE", "ANGDIR", "APERTURE", "ATTDIA", "ATTMODE", "ATTREQ", "AUNITS", "AUPREC", "BLIPMODE", "CECOLOR",
        "CELTSCALE", "CELTYPE", "CELWEIGHT", "CHAMFERA", "CHAMFERB", "CLAYER", "CMDACTIVE", "CMDDIA", "CMDECHO",
        "CMDNAMES", "CTAB", "CVPORT", "DATE", "DIMASZ", "DIMDEC", "DIMSCALE", "DIMSTYLE", "DIMTXT", "DWGNAME",
        "DWGPREFIX", "DWGTITLED", "ELEVATION", "ERRNO", "EXPERT", "EXTMAX", "EXTMIN", "FILEDIA", "FILLETRAD",
        "FILLMODE", "GRIDMODE", "HIGHLIGHT", "HPNAME", "INSBASE", "INSUNITS", "LASTPOINT", "LIMMAX", "LIMMIN",
        "LTSCALE", "LUNITS", "LUPREC", "MEASUREMENT", "MENUECHO", "MIRRTEXT", "NOMUTT", "OFFSETDIST", "ORTHOMODE",
        "OSMODE", "PDMODE", "PDSIZE", "PEDITACCEPT", "PICKADD", "PICKBOX", "PICKFIRST", "PLINEWID", "QAFLAGS",
        "REGENMODE", "SNAPANG", "SNAPMODE", "SNAPUNIT", "TEXTEVAL", "TEXTSIZE", "TEXTSTYLE", "THICKNESS", "TILEMODE",
        "UCSORG", "UCSXDIR", "UCSYDIR", "UNDOCTL", "USERI1", "USERI2", "USERI3", "USERI4", "USERI5", "USERR1",
        "USERR2", "USERR3", "USERR4", "USERR5", "USERS1", "USERS2", "USERS3", "USERS4", "USERS5", "VIEWCTR",
        "VIEWDIR", "VIEWSIZE", "WORLDUCS",
    };
    return words;
}

const std::vector<std::string>& DesignReserveWords() {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> all = {
            "abs", "acad_colordlg", "acad_helpdlg", "acad_strlsort", "action_tile", "add_list", "alert", "alloc",
            "and", "angle", "angtof", "angtos", "append", "apply", "arx", "arxload", "arxunload", "ascii", "assoc",
            "atan", "atof", "atoi", "atom", "atoms-family", "autoarxload", "autoload", "boole", "boundp", "caaaar",
            "caaadr", "caaar", "caadar", "caaddr", "caadr", "caar", "cadaar", "cadadr", "cadar", "caddar", "cadddr",
            "caddr", "cadr", "car", "cdaaar", "cdaadr", "cdaar", "cdadar", "cdaddr", "cdadr", "cdar", "cddaar",
            "cddadr", "cddar", "cdddar", "cddddr", "cdddr", "cddr", "cdr", "chr", "client_data_tile", "close",
            "command", "command-s", "cond", "cons", "cos", "cvunit", "defun", "defun-q", "defun-q-list-ref",
            "defun-q-list-set", "dictadd", "dictnext", "dictremove", "dictrename", "dictsearch", "dimx_tile",
            "dimy_tile", "distance", "distof", "done_dialog", "end_image", "end_list", "entdel", "entget", "entlast",
            "entmake", "entmakex", "entmod", "entnext", "entsel", "entupd", "eq", "equal", "eval", "exit", "exp",
            "expand", "expt", "fill_image", "findfile", "fix", "float", "foreach", "function", "gc", "gcd",
            "getangle", "getcfg", "getcname", "getcorner", "getdist", "getenv", "getfiled", "getint", "getkword",
            "getorient", "getpoint", "getreal", "getstring", "getvar", "get_attr", "get_tile", "graphscr", "grclear",
            "grdraw", "grread", "grtext", "grvecs", "handent", "help", "if", "initdia", "initget", "inters", "itoa",
            "lambda", "last", "layoutlist", "length", "list", "listp", "load", "load_dialog", "log", "logand",
            "logior", "lsh", "mapcar", "max", "mem", "member", "menucmd", "menugroup", "min", "minusp", "mode_tile",
            "namedobjdict", "nentsel", "nentselp", "new_dialog", "nil", "not", "nth", "null", "numberp", "open",
            "or", "osnap", "pause", "pi", "polar", "prin1", "princ", "print", "progn", "prompt", "quit", "quote",
            "read", "read-char", "read-line", "redraw", "regapp", "rem", "repeat", "reverse", "rtos", "set",
            "setcfg", "setenv", "setfunhelp", "setq", "setvar", "setview", "set_tile", "sin", "slide_image",
            "snvalid", "sqrt", "ssadd", "ssdel", "ssget", "ssgetfirst", "sslength", "ssmemb", "ssname", "ssnamex",
            "sssetfirst", "startapp", "start_dialog", "start_image", "start_list", "strcase", "strcat", "strlen",
            "subst", "substr", "t", "tablet", "tblnext", "tblobjname", "tblsearch", "term_dialog", "terpri",
            "textbox", "textpage", "textscr", "trace", "trans", "type", "unload_dialog", "untrace", "vector_image",
            "ver", "vl-acad-defun", "vl-acad-undefun", "vl-bb-ref", "vl-bb-set", "vl-catch-all-apply",
            "vl-catch-all-error-message", "vl-catch-all-error-p", "vl-cmdf", "vl-consp", "vl-directory-files",
            "vl-doc-export", "vl-doc-import", "vl-doc-ref", "vl-doc-set", "vl-every", "vl-exit-with-error",
            "vl-exit-with-value", "vl-file-copy", "vl-file-delete", "vl-file-directory-p", "vl-file-rename",
            "vl-file-size", "vl-file-systime", "vl-filename-base", "vl-filename-directory", "vl-filename-extension",
            "vl-filename-mktemp", "vl-get-resource", "vl-list->string", "vl-list-length", "vl-load-all",
            "vl-load-com", "vl-load-reactors", "vl-member-if", "vl-member-if-not", "vl-mkdir", "vl-position",
            "vl-prin1-to-string", "vl-princ-to-string", "vl-propagate", "vl-registry-delete",
            "vl-registry-descendents", "vl-registry-read", "vl-registry-write", "vl-remove", "vl-remove-if",
            "vl-remove-if-not", "vl-some", "vl-sort", "vl-sort-i", "vl-string->list", "vl-string-elt",
            "vl-string-left-trim", "vl-string-mismatch", "vl-string-position", "vl-string-right-trim",
            "vl-string-search", "vl-string-subst", "vl-string-translate", "vl-string-trim", "vl-symbol-name",
            "vl-symbol-value", "vl-symbolp", "vl-unload-vlx", "vl-vbaload", "vl-vbarun", "vl-vlx-loaded-p",
            "vlax-3d-point", "vlax-add-cmd", "vlax-create-object", "vlax-curve-getarea",
            "vlax-curve-getclosestpointto", "vlax-curve-getdistatparam", "vlax-curve-getdistatpoint",
            "vlax-curve-getendparam", "vlax-curve-getendpoint", "vlax-curve-getparamatdist",
            "vlax-curve-getparamatpoint", "vlax-curve-getpointatdist", "vlax-curve-getpointatparam",
            "vlax-curve-getstartparam", "vlax-curve-getstartpoint", "vlax-curve-isclosed", "vlax-dump-object",
            "vlax-ename->vla-object", "vlax-erased-p", "vlax-for", "vlax-get", "vlax-get-acad-object",
            "vlax-get-object", "vlax-get-or-create-object", "vlax-get-property", "vlax-import-type-library",
            "vlax-invoke", "vlax-invoke-method", "vlax-ldata-delete", "vlax-ldata-get", "vlax-ldata-list",
            "vlax-ldata-put", "vlax-make-safearray", "vlax-make-variant", "vlax-method-applicable-p",
            "vlax-object-released-p", "vlax-product-key", "vlax-property-available-p", "vlax-put",
            "vlax-put-property", "vlax-read-enabled-p", "vlax-release-object", "vlax-remove-cmd",
            "vlax-safearray->list", "vlax-safearray-fill", "vlax-safearray-get-dim", "vlax-safearray-get-element",
            "vlax-safearray-put-element", "vlax-safearray-type", "vlax-tmatrix", "vlax-typeinfo-available-p",
            "vlax-variant-change-type", "vlax-variant-type", "vlax-variant-value", "vlax-vla-object->ename",
            "vlax-write-enabled-p", "vports", "wcmatch", "while", "write-char", "write-line", "xdroom", "xdsize",
            "zerop",
        };
        const auto& sysvars = DesignReserveWords2();
        all.insert(all.end(), sysvars.begin(), sysvars.end());
        return all;
    }();
    return words;
}

}  // namespace quodle
