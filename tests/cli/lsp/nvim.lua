-- Drives quodle-cli lsp from Neovim's own client: opens the Shift-JIS file
-- $LSP_FILE, waits for its diagnostics, asks for hovers and a definition at
-- the places $LSP_HOVER (blank-separated) and $LSP_DEFINITION ("line:col",
-- 0-based, in characters of the line), and for the references and the
-- fixes there, applies the first fix, and writes what came back to $LSP_OUT.
local out = {}
local function put(line) table.insert(out, line) end
local function finish(status)
  vim.fn.writefile(out, os.getenv('LSP_OUT'))
  vim.cmd((status == 0 and 'qall!') or 'cquit!')
end

vim.cmd('edit ++enc=cp932 ' .. vim.fn.fnameescape(os.getenv('LSP_FILE')))
local buf = vim.api.nvim_get_current_buf()
local client = vim.lsp.start_client({
  name = 'quodle',
  cmd = { os.getenv('QUODLE_CLI'), 'lsp' },
  root_dir = os.getenv('LSP_ROOT'),
})
if not client then put('no client'); return finish(1) end
vim.lsp.buf_attach_client(buf, client)

local published = vim.wait(10000, function() return #vim.diagnostic.get(buf) > 0 end, 20)
if not published then put('no diagnostics'); return finish(1) end
local diagnostics = vim.diagnostic.get(buf)
table.sort(diagnostics, function(a, b)
  if a.lnum ~= b.lnum then return a.lnum < b.lnum end
  if a.col ~= b.col then return a.col < b.col end
  return a.message < b.message
end)
for _, d in ipairs(diagnostics) do
  -- Neovim holds columns as bytes of its (UTF-8) line; written as characters.
  local text = vim.api.nvim_buf_get_lines(buf, d.lnum, d.lnum + 1, true)[1]
  local message = d.message:gsub('\n', '|')
  put(string.format('diagnostic %d:%d %s %s', d.lnum, vim.str_utfindex(text, d.col), d.code or '', message))
end

-- A place "line:col" in characters as the protocol's UTF-16 position.
local function params(at)
  local line, col = at:match('(%d+):(%d+)')
  line, col = tonumber(line), tonumber(col)
  local text = vim.api.nvim_buf_get_lines(buf, line, line + 1, true)[1]
  local byte = vim.str_byteindex(text, col)
  local _, utf16 = vim.str_utfindex(text, byte)
  return { textDocument = { uri = vim.uri_from_bufnr(buf) }, position = { line = line, character = utf16 } }
end
local function ask(method, at, range)
  local p = params(at)
  if range then
    -- A code action asks about a range, empty here, and no diagnostics.
    p = { textDocument = p.textDocument, range = { start = p.position, ['end'] = p.position },
          context = { diagnostics = {} } }
  end
  local answers = vim.lsp.buf_request_sync(buf, method, p, 10000)
  if not answers or not answers[client] then return nil end
  return answers[client].result
end

for at in os.getenv('LSP_HOVER'):gmatch('%S+') do
  local hover = ask('textDocument/hover', at)
  if hover then put('hover ' .. hover.contents.value:gsub('\n', '|')) else put('hover none') end
end
local found = ask('textDocument/definition', os.getenv('LSP_DEFINITION'))
for _, l in ipairs(found or {}) do
  put(string.format('definition %s %d:%d', vim.fn.fnamemodify(vim.uri_to_fname(l.uri), ':t'),
                    l.range.start.line, l.range.start.character))
end
-- The calls of the function there, and its definition.
local referencing = params(os.getenv('LSP_DEFINITION'))
referencing.context = { includeDeclaration = true }
local references = vim.lsp.buf_request_sync(buf, 'textDocument/references', referencing, 10000)
for _, l in ipairs((references and references[client] and references[client].result) or {}) do
  put(string.format('reference %s %d:%d', vim.fn.fnamemodify(vim.uri_to_fname(l.uri), ':t'),
                    l.range.start.line, l.range.start.character))
end
-- The fixes offered at $LSP_DEFINITION, and line 1 once the first is applied.
local fixes = ask('textDocument/codeAction', os.getenv('LSP_DEFINITION'), true) or {}
for _, a in ipairs(fixes) do put('action ' .. a.title) end
if fixes[1] then
  vim.lsp.util.apply_workspace_edit(fixes[1].edit, 'utf-16')
  put('fixed ' .. vim.api.nvim_buf_get_lines(buf, 1, 2, true)[1])
end
vim.lsp.stop_client(client)
finish(0)
