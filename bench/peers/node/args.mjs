// The companion's command line, as the peers take it:
// [--match-case] [--both PATH] [--only-in-1 PATH] [--only-in-2 PATH] FILE1 FILE2
export function parseArgs(args) {
  let matchCase = false;
  const out = {};
  const files = [];
  for (let i = 0; i < args.length; ++i) {
    if (args[i] === '--match-case') matchCase = true;
    else if (args[i].startsWith('--')) out[args[i].slice(2)] = args[++i];
    else files.push(args[i]);
  }
  return { matchCase, out, files };
}
