// Under Node, a test program sees the host's files at their own paths: the
// top-level folders of its working directory and of VF_SOURCE_DIR are the
// host's (NODEFS), standard output stays the program's own (so it can be
// captured), and the environment is the process's.
Module.preRun = [].concat(Module.preRun || [], function() {
  var mounted = {};
  var mountTop = function(dir) {
    var top = '/' + dir.split('/').filter(Boolean)[0];
    if (top === '/' || mounted[top]) return;
    mounted[top] = true;
    if (!FS.analyzePath(top).exists) FS.mkdir(top);
    FS.mount(NODEFS, {root: top}, top);
  };
  mountTop(process.cwd());
  if (process.env.VF_SOURCE_DIR) mountTop(process.env.VF_SOURCE_DIR);
  FS.chdir(process.cwd());
  Object.assign(ENV, process.env);
});
