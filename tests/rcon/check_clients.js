'use strict';
// Drives a server that serves RCON with third-party client packages: each
// client logs in, runs the command and expects the reply, runs a command the
// server does not know and then the first one again on the same connection,
// and is refused with a wrong password. Before them, raw connections send bad
// input, and one stays connected without a word throughout.
//
//   node check_clients.js [--command CMD] [--expect TEXT] [--unknown CMD]
//                         -- SERVER [ARGS...]
//
// The server is started as `SERVER ARGS... --rcon-port P --rcon-password PW`
// on a free port, with its standard input kept open until the end. The client
// packages are found through NODE_PATH.

const net = require('net');
const { spawn } = require('child_process');

const kPassword = 'gatehouse-test-password';
const kTimeoutMs = 5000;
const kOverallMs = 90000;

function parseArguments(argv) {
  const options = {
    command: 'Gatehouse.Reload',
    expect: 'Reloaded Config!',
    unknown: 'Gatehouse.NoSuchCommand',
    server: [],
  };
  for (let i = 0; i < argv.length; ++i) {
    if (argv[i] === '--') {
      options.server = argv.slice(i + 1);
      break;
    }
    const name = argv[i].replace(/^--/, '');
    if (!(name in options) || i + 1 >= argv.length) {
      throw new Error(`unknown option ${argv[i]}`);
    }
    options[name] = argv[++i];
  }
  if (options.server.length === 0) {
    throw new Error('no server command after --');
  }
  return options;
}

function withTimeout(promise, what, ms = kTimeoutMs) {
  let timer;
  const timeout = new Promise((_, reject) => {
    timer = setTimeout(() => reject(new Error(`${what}: no answer in ${ms} ms`)), ms);
  });
  return Promise.race([promise, timeout]).finally(() => clearTimeout(timer));
}

function freePort() {
  return new Promise((resolve, reject) => {
    const probe = net.createServer();
    probe.once('error', reject);
    probe.listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

async function waitUntilListening(port, server) {
  const deadline = Date.now() + 15000;
  while (Date.now() < deadline) {
    if (server.exitCode !== null) {
      throw new Error(`server exited with status ${server.exitCode}`);
    }
    const connected = await new Promise((resolve) => {
      const socket = net.connect(port, '127.0.0.1');
      socket.once('connect', () => {
        socket.destroy();
        resolve(true);
      });
      socket.once('error', () => resolve(false));
    });
    if (connected) {
      return;
    }
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  throw new Error(`nothing listens on 127.0.0.1:${port}`);
}

// One adapter per package, each in the package's own way of working.
const clients = {
  'rcon-client': {
    async session(port, password) {
      const { Rcon } = require('rcon-client');
      const rcon = await Rcon.connect({ host: '127.0.0.1', port, password, timeout: kTimeoutMs });
      rcon.on('error', () => {});
      return { send: (command) => rcon.send(command), end: () => rcon.end() };
    },
  },
  'rcon-srcds': {
    async session(port, password) {
      const RCON = require('rcon-srcds').default;
      const rcon = new RCON({ host: '127.0.0.1', port, timeout: kTimeoutMs, encoding: 'utf8' });
      await rcon.authenticate(password);
      return { send: (command) => rcon.execute(command), end: () => rcon.disconnect() };
    },
  },
  rcon: {
    // Event driven: one response per command, in order.
    session(port, password) {
      const Rcon = require('rcon');
      const connection = new Rcon('127.0.0.1', port, password);
      let authenticated = false;
      let pending = null;
      return new Promise((resolve, reject) => {
        connection.on('auth', () => {
          authenticated = true;
          resolve({
            send(command) {
              return new Promise((resolveReply, rejectReply) => {
                pending = { resolve: resolveReply, reject: rejectReply };
                connection.send(command);
              });
            },
            end() {
              connection.disconnect();
            },
          });
        });
        connection.on('response', (text) => {
          // Before the login, the empty value that precedes the answer.
          if (!authenticated || pending === null) {
            return;
          }
          const waiting = pending;
          pending = null;
          waiting.resolve(text);
        });
        connection.on('error', (error) => {
          if (pending !== null) {
            pending.reject(error);
            pending = null;
          }
          reject(error);
        });
        connection.on('end', () => reject(new Error('connection closed')));
        connection.connect();
      });
    },
  },
};

async function expectReply(session, command, expected, what) {
  const reply = (await withTimeout(session.send(command), what)).replace(/\n$/, '');
  if (reply !== expected) {
    throw new Error(`${what}: expected ${JSON.stringify(expected)}, got ${JSON.stringify(reply)}`);
  }
}

async function checkSession(client, port, options) {
  const session = await withTimeout(client.session(port, kPassword), 'login');
  try {
    await expectReply(session, options.command, options.expect, options.command);
    await expectReply(session, options.unknown, `Unknown command: ${options.unknown}`,
      options.unknown);
    await expectReply(session, options.command, options.expect, `${options.command} again`);
  } finally {
    await Promise.resolve(session.end()).catch(() => {});
  }
}

async function checkRefusal(client, port) {
  let session = null;
  try {
    session = await withTimeout(client.session(port, `${kPassword}-wrong`), 'wrong password');
  } catch (error) {
    // A refusal, not a lost connection or silence.
    if (!/authenticat/i.test(error.message)) {
      throw error;
    }
    return;
  }
  await Promise.resolve(session.end()).catch(() => {});
  throw new Error('a wrong password was taken');
}

function encodePacket(size, id, type, body) {
  const bytes = Buffer.alloc(14 + Buffer.byteLength(body));
  bytes.writeInt32LE(size === null ? bytes.length - 4 : size, 0);
  bytes.writeInt32LE(id, 4);
  bytes.writeInt32LE(type, 8);
  bytes.write(body, 12);
  return bytes;
}

function connectRaw(port) {
  return new Promise((resolve, reject) => {
    const socket = net.connect(port, '127.0.0.1', () => resolve(socket));
    socket.once('error', reject);
  });
}

// Bytes that no client package sends: each connection is refused or closed,
// and the server goes on serving the packages' sessions that follow.
async function checkBadInput(port) {
  const cases = [
    ['a negative size', encodePacket(-5, 1, 2, 'Gatehouse.Reload')],
    ['a zero size', encodePacket(0, 1, 2, 'Gatehouse.Reload')],
    ['a size over 4096', encodePacket(4097, 1, 2, 'Gatehouse.Reload')],
    ['a command before the password', encodePacket(null, 1, 2, 'Gatehouse.Reload')],
  ];
  for (const [what, bytes] of cases) {
    const socket = await connectRaw(port);
    socket.on('error', () => {});
    socket.resume();
    await withTimeout(new Promise((resolve) => {
      socket.once('close', resolve);
      socket.write(bytes);
    }), `connection closed after ${what}`);
  }
  const leaver = await connectRaw(port);
  leaver.on('error', () => {});
  leaver.end(encodePacket(null, 1, 3, kPassword).subarray(0, 9));
}

async function main() {
  const options = parseArguments(process.argv.slice(2));
  const port = await freePort();
  const [program, ...args] = options.server;
  const server = spawn(program, [...args, '--rcon-port', String(port), '--rcon-password',
    kPassword], { stdio: ['pipe', 'pipe', 'pipe'] });
  let output = '';
  server.stdout.on('data', (data) => { output += data; });
  server.stderr.on('data', (data) => { output += data; });
  server.on('error', (error) => { output += `cannot start server: ${error.message}\n`; });

  let passed = 0;
  let failed = 0;
  let silent = null;
  try {
    await waitUntilListening(port, server);
    // Connected without a word for as long as the others are served.
    silent = await connectRaw(port);
    silent.on('error', () => {});
    try {
      await checkBadInput(port);
      console.log('ok: bad input closes only its own connection');
      ++passed;
    } catch (error) {
      console.log(`FAILED: bad input: ${error.message}`);
      ++failed;
    }
    for (const [name, client] of Object.entries(clients)) {
      for (const [check, run] of [['serves commands', () => checkSession(client, port, options)],
        ['refuses a wrong password', () => checkRefusal(client, port)]]) {
        try {
          await run();
          console.log(`ok: ${name} ${check}`);
          ++passed;
        } catch (error) {
          console.log(`FAILED: ${name} ${check}: ${error.message}`);
          ++failed;
        }
      }
    }
  } catch (error) {
    console.log(`FAILED: ${error.message}`);
    ++failed;
  }

  if (silent !== null) {
    silent.destroy();
  }
  server.stdin.end();
  const status = await withTimeout(new Promise((resolve) => {
    if (server.exitCode !== null || server.signalCode !== null) {
      resolve(server.exitCode ?? server.signalCode);
      return;
    }
    server.once('exit', (code, signal) => resolve(code ?? signal));
  }), 'server exit', 10000).catch(() => null);
  if (status === null) {
    server.kill('SIGKILL');
    console.log('FAILED: the server did not exit when its input ended');
    ++failed;
  } else if (status !== 0) {
    // Under the sanitizers, a fault found at any point shows here.
    console.log(`FAILED: the server exited with status ${status}`);
    ++failed;
  }
  if (failed > 0 && output) {
    console.log(`server output:\n${output}`);
  }
  console.log(`${passed} passed, ${failed} failed`);
  process.exitCode = failed === 0 ? 0 : 1;
}

const overall = setTimeout(() => {
  console.log(`FAILED: gave up after ${kOverallMs} ms`);
  process.exit(1);
}, kOverallMs);
overall.unref();

main().catch((error) => {
  console.log(`FAILED: ${error.message}`);
  process.exit(1);
});
